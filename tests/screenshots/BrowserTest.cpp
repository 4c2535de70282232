#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "BmpFixtures.h"
#include "platform/BmpFile.h"
#include "screenshots/ScreenshotViewer.h"
#include "screenshots/ImageOps.h"
#include "screenshots/PictureRenderer.h"
#include "screenshots/ScreenshotFolder.h"
#include "state/AppConfig.h"
#include "support/TestSupport.h"

using namespace fixtures;

// One viewer on a UT2004 folder of four shots (one renamed by the player in capitals), used
// as a player would, from opening to closing.
TEST(Browser, ListsStepsSortsAdjustsAndDeletesTheShotsAndClosingCleansUp) {
    TempProgramFolder program;
    ScriptedPrompter prompts;
    const QString folder = program.file(QStringLiteral("UT2004/ScreenShots")) + '/';
    const std::pair<const char*, const char*> shots[] = {{"Shot00003.bmp", "2004-01-04T10:00"},
                                                         {"SHOT00001.BMP", "2004-01-04T09:00"},
                                                         {"Shot00002.bmp", "2003-02-01T10:00"},
                                                         {"Shot00004.bmp", "2004-01-04T21:05"}};
    for (const auto& [name, modified] : shots) {
        writeFile(folder + name, bmpBytes(40, 30, 24, gradient));
        QFile f(folder + name);
        ASSERT_TRUE(f.open(QFile::ReadWrite) &&
                    f.setFileTime(QDateTime::fromString(modified, Qt::ISODate), QFile::FileModificationTime));
    }
    writeFile(folder + "notes.txt", "x");
    program.write("vyrn.ini", "ut\r\nut2\r\nut3\r\n1\r\n 3 \r\nTrue\r\nold\r\nol\r\n");
    appConfig() = {"ut", "ut2", "ut3", "1", " 3 ", "/saved/here/", "/s", {}};
    ScreenshotViewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    v.show();
    QApplication::setActiveWindow(&v);
    QApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(v.frameGeometry()));
    EXPECT_LE(std::abs(v.frameGeometry().center().x() - screen.center().x()), 2);
    const auto shown = [&] { return QFileInfo(v.renderer().shownPath).fileName(); };
    EXPECT_EQ(v.browser().PictureNames,
              (QStringList{"SHOT00001.BMP", "Shot00002.bmp", "Shot00003.bmp", "Shot00004.bmp", ""}));
    EXPECT_EQ(v.windowTitle(),
              "VYRN Screen shot preview - (" + folder + "SHOT00001.BMP) 1/4/2004 9:00:00 AM");
    EXPECT_EQ(v.renderer().preview.size(), QSize(554, 416));  // 40 x 30 in its own proportions
    EXPECT_FALSE(v.Image1->pixmap().isNull());
    v.Command3_Click();  // nothing before the first
    EXPECT_EQ(shown(), "SHOT00001.BMP");
    v.Command7_Click();
    v.Command2_Click();  // nothing after the last
    EXPECT_EQ(shown(), "Shot00004.bmp");
    EXPECT_EQ(v.browser().CurrentIndex, 3);
    v.Command8_Click();
    EXPECT_EQ(shown(), "SHOT00001.BMP");
    // A clicked button keeps the focus; the key must not also travel up through its frame.
    v.Command2->setFocus();
    for (const auto& [key, index] : {std::pair{'+', 1}, {'=', 2}, {'-', 1}}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(v.browser().CurrentIndex, index) << key;
    }
    // In a number box the keys step and leave the number alone.
    for (QLineEdit* box : {v.Text2, v.Text4}) {
        box->setFocus();
        const QString before = box->text();
        QTest::keyClick(box, '+');
        QTest::keyClick(box, '-');
        EXPECT_EQ(box->text(), before);
    }
    EXPECT_EQ(v.browser().CurrentIndex, 1);
    // A darker picture: the minus in front of the brightness is typed, not a step.
    v.Text1->setFocus();
    v.Text1->selectAll();
    QTest::keyClicks(v.Text1, "-25");
    EXPECT_EQ(v.Text1->text(), "-25");
    EXPECT_EQ(v.browser().CurrentIndex, 1);
    QTest::keyClick(v.Text1, '-');  // not in front: a step
    EXPECT_EQ(v.Text1->text(), "-25");
    EXPECT_EQ(v.browser().CurrentIndex, 0);
    // By date: 2003 before 2004 whatever the month; 9 AM before 10 AM before 9:05 PM.
    v.Command2_Click();
    v.Check1->setChecked(true);
    v.Check1_Click();
    EXPECT_EQ(v.browser().PictureNames,
              (QStringList{"Shot00002.bmp", "SHOT00001.BMP", "Shot00003.bmp", "Shot00004.bmp", ""}));
    EXPECT_EQ(shown(), "Shot00002.bmp");
    v.Check1->setChecked(false);
    v.Check1_Click();
    EXPECT_EQ(shown(), "SHOT00001.BMP");
    // Number fields fall back to their default when not a number.
    const std::tuple<QLineEdit*, const char*, const char*> fields[] = {
        {v.Text1, "abc", "10"}, {v.Text1, "-5.5", "-5.5"}, {v.Text2, "x", ""},  {v.Text3, "600", "600"},
        {v.Text4, "q", "10"},   {v.Text4, "&H20", "&H20"}, {v.Text4, "", "10"}, {v.Text1, "10", "10"}};
    for (const auto& [field, typed, after] : fields) {
        field->setText(typed);
        EXPECT_EQ(field->text(), after) << typed;
    }
    // Too large a size is refused, naming the limit: 33,554,432 pixels, under Qt's 128 MB.
    const qint64 height = maxBmpPixels() / kMaxBmpSide + 1;
    v.Text2->setText(QString::number(kMaxBmpSide));
    v.Text3->setText(QString::number(height));
    v.Command1_Click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.startsWith(
        QString("The picture is too large to save at %1 x %2 pixels.").arg(kMaxBmpSide).arg(height)));
    EXPECT_TRUE(
        prompts.shown[0].text.contains(QLocale(QLocale::English).toString(maxBmpPixels()) + " pixels"));
    // Brightness adds up in a temporary picture; "Default" shows the shot again.
    v.Command4_Click();
    v.Command4_Click();
    EXPECT_EQ(v.renderer().shownPath, tempPicturePath());
    QImage brighter = patternImage(40, 30, gradient);
    addBrightness(brighter, 20);
    EXPECT_EQ(readBmpImage(tempPicturePath()).value_or(QImage()), brighter);
    v.Command5_Click();
    EXPECT_EQ(shown(), "SHOT00001.BMP");
    v.Command2_Click();
    prompts.answers = {MsgAnswer::No};
    v.Command9_Click();
    EXPECT_TRUE(QFile::exists(folder + "Shot00002.bmp"));
    EXPECT_EQ(prompts.shown.last().text, "Are you sure you want to delete\r\n" + folder + "Shot00002.bmp?");
    EXPECT_EQ(prompts.shown.last().defaultButton, MsgAnswer::No);
    // A middle picture: the next moves into its place; the last: the new last is shown.
    for (const char* next : {"Shot00003.bmp", "Shot00004.bmp", "SHOT00001.BMP"}) {
        prompts.answers = {MsgAnswer::Yes};
        v.Command9_Click();
        EXPECT_EQ(shown(), next);
    }
    prompts.answers = {MsgAnswer::Yes};
    v.Command9_Click();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"notes.txt"});
    EXPECT_TRUE(v.Image1->pixmap().isNull());
    EXPECT_EQ(v.Image1->text(), "There are no screenshots in " + program.file("UT2004/ScreenShots") + ".");
    EXPECT_FALSE(v.Command1->isEnabled() || v.Command9->isEnabled());
    const qsizetype asked = prompts.shown.size();
    v.Command9_Click();  // nothing left: no question
    v.Command1_Click();
    EXPECT_EQ(prompts.shown.size(), asked);
    program.write("vyrntmppic.jpg", "x");
    v.reject();
    EXPECT_FALSE(program.exists("vyrntmppic.bmp"));
    EXPECT_FALSE(program.exists("vyrntmppic.jpg"));
    EXPECT_EQ(program.read("vyrn.ini"), "ut\r\nut2\r\nut3\r\n1\r\n 3 \r\n\r\n/saved/here/\r\n/s\r\n");
}

TEST(Browser, OpeningWithoutTheGamesFolderTellsWhatToSetAndWritesNoSettings) {
    TempProgramFolder program;
    ScriptedPrompter prompts;
    appConfig() = AppConfig();
    appConfig().Ut2003Path = program.file("nowhere/System/ut2003.exe");
    openScreenshotViewer(nullptr, ScreenshotGame::UT2003);
    appConfig().Ut2003Path.clear();
    openScreenshotViewer(nullptr, ScreenshotGame::UT2003);
    ScreenshotViewer gone(program.file("gone/"));
    EXPECT_FALSE(gone.Form_Load());  // the folder went away since
    gone.reject();
    EXPECT_FALSE(program.exists("vyrn.ini"));  // a first run's settings are not made here
    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_EQ(prompts.shown[0].text, "Please set your UT2003 path in settings!");
    EXPECT_EQ(prompts.shown[1].text, "Please set your UT2003 path in settings!");
    EXPECT_EQ(prompts.shown[2].text, "Please specify the correct UT paths to view screenshots.");
}
