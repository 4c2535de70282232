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
    appConfig() = {"ut", "ut2", "ut3", "1", " 3 ", "/saved/here/", "/s", {}, {}};
    ScreenshotViewer v(folder);
    ASSERT_TRUE(v.loadFolder());
    v.show();
    QApplication::setActiveWindow(&v);
    QApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(v.frameGeometry()));
    EXPECT_LE(std::abs(v.frameGeometry().center().x() - screen.center().x()), 2);
    const auto shown = [&] { return QFileInfo(v.renderer().shownPath).fileName(); };
    EXPECT_EQ(v.browser().pictureNames,
              (QStringList{"SHOT00001.BMP", "Shot00002.bmp", "Shot00003.bmp", "Shot00004.bmp", ""}));
    EXPECT_EQ(v.windowTitle(),
              "VYRN Screen shot preview - (" + folder + "SHOT00001.BMP) 1/4/2004 9:00:00 AM");
    EXPECT_EQ(v.renderer().preview.size(), QSize(554, 416));  // 40 x 30 in its own proportions
    EXPECT_FALSE(v.previewLabel->pixmap().isNull());
    v.onPreviousClicked();  // nothing before the first
    EXPECT_EQ(shown(), "SHOT00001.BMP");
    v.onLastClicked();
    v.onNextClicked();  // nothing after the last
    EXPECT_EQ(shown(), "Shot00004.bmp");
    EXPECT_EQ(v.browser().currentIndex, 3);
    v.onFirstClicked();
    EXPECT_EQ(shown(), "SHOT00001.BMP");
    // A clicked button keeps the focus; the key must not also travel up through its frame.
    v.nextButton->setFocus();
    for (const auto& [key, index] : {std::pair{'+', 1}, {'=', 2}, {'-', 1}}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(v.browser().currentIndex, index) << key;
    }
    // In a number box the keys step and leave the number alone.
    for (QLineEdit* box : {v.widthEdit, v.qualityEdit}) {
        box->setFocus();
        const QString before = box->text();
        QTest::keyClick(box, '+');
        QTest::keyClick(box, '-');
        EXPECT_EQ(box->text(), before);
    }
    EXPECT_EQ(v.browser().currentIndex, 1);
    // A darker picture: the minus in front of the brightness is typed, not a step.
    v.brightnessEdit->setFocus();
    v.brightnessEdit->selectAll();
    QTest::keyClicks(v.brightnessEdit, "-25");
    EXPECT_EQ(v.brightnessEdit->text(), "-25");
    EXPECT_EQ(v.browser().currentIndex, 1);
    QTest::keyClick(v.brightnessEdit, '-');  // not in front: a step
    EXPECT_EQ(v.brightnessEdit->text(), "-25");
    EXPECT_EQ(v.browser().currentIndex, 0);
    // By date: 2003 before 2004 whatever the month; 9 AM before 10 AM before 9:05 PM.
    v.onNextClicked();
    v.sortByDateCheck->setChecked(true);
    v.onSortByDateClicked();
    EXPECT_EQ(v.browser().pictureNames,
              (QStringList{"Shot00002.bmp", "SHOT00001.BMP", "Shot00003.bmp", "Shot00004.bmp", ""}));
    EXPECT_EQ(shown(), "Shot00002.bmp");
    v.sortByDateCheck->setChecked(false);
    v.onSortByDateClicked();
    EXPECT_EQ(shown(), "SHOT00001.BMP");
    // Number fields fall back to their default when not a number.
    const std::tuple<QLineEdit*, const char*, const char*> fields[] = {
        {v.brightnessEdit, "abc", "10"}, {v.brightnessEdit, "-5.5", "-5.5"}, {v.widthEdit, "x", ""},
        {v.heightEdit, "600", "600"},    {v.qualityEdit, "q", "10"},         {v.qualityEdit, "&H20", "&H20"},
        {v.qualityEdit, "", "10"},       {v.brightnessEdit, "10", "10"}};
    for (const auto& [field, typed, after] : fields) {
        field->setText(typed);
        EXPECT_EQ(field->text(), after) << typed;
    }
    // Too large a size is refused, naming the limit: 33,554,432 pixels, under Qt's 128 MB.
    const qint64 height = maxBmpPixels() / kMaxBmpSide + 1;
    v.widthEdit->setText(QString::number(kMaxBmpSide));
    v.heightEdit->setText(QString::number(height));
    v.onSaveAsJpgClicked();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.startsWith(
        QString("The picture is too large to save at %1 x %2 pixels.").arg(kMaxBmpSide).arg(height)));
    EXPECT_TRUE(
        prompts.shown[0].text.contains(QLocale(QLocale::English).toString(maxBmpPixels()) + " pixels"));
    // Brightness adds up in a temporary picture; "Default" shows the shot again.
    v.onChangeBrightnessClicked();
    v.onChangeBrightnessClicked();
    EXPECT_EQ(v.renderer().shownPath, tempPicturePath());
    QImage brighter = patternImage(40, 30, gradient);
    addBrightness(brighter, 20);
    EXPECT_EQ(readBmpImage(tempPicturePath()).value_or(QImage()), brighter);
    v.onDefaultBrightnessClicked();
    EXPECT_EQ(shown(), "SHOT00001.BMP");
    v.onNextClicked();
    prompts.answers = {MsgAnswer::No};
    v.onDeleteClicked();
    EXPECT_TRUE(QFile::exists(folder + "Shot00002.bmp"));
    EXPECT_EQ(prompts.shown.last().text, "Are you sure you want to delete\r\n" + folder + "Shot00002.bmp?");
    EXPECT_EQ(prompts.shown.last().defaultButton, MsgAnswer::No);
    // A middle picture: the next moves into its place; the last: the new last is shown.
    for (const char* next : {"Shot00003.bmp", "Shot00004.bmp", "SHOT00001.BMP"}) {
        prompts.answers = {MsgAnswer::Yes};
        v.onDeleteClicked();
        EXPECT_EQ(shown(), next);
    }
    prompts.answers = {MsgAnswer::Yes};
    v.onDeleteClicked();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"notes.txt"});
    EXPECT_TRUE(v.previewLabel->pixmap().isNull());
    EXPECT_EQ(v.previewLabel->text(),
              "There are no screenshots in " + program.file("UT2004/ScreenShots") + ".");
    EXPECT_FALSE(v.saveAsJpgButton->isEnabled() || v.deleteButton->isEnabled());
    const qsizetype asked = prompts.shown.size();
    v.onDeleteClicked();  // nothing left: no question
    v.onSaveAsJpgClicked();
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
    appConfig().ut2003Path = program.file("nowhere/System/ut2003.exe");
    openScreenshotViewer(nullptr, ScreenshotGame::UT2003);
    appConfig().ut2003Path.clear();
    openScreenshotViewer(nullptr, ScreenshotGame::UT2003);
    ScreenshotViewer gone(program.file("gone/"));
    EXPECT_FALSE(gone.loadFolder());  // the folder went away since
    gone.reject();
    EXPECT_FALSE(program.exists("vyrn.ini"));  // a first run's settings are not made here
    ASSERT_EQ(prompts.shown.size(), 3);
    EXPECT_EQ(prompts.shown[0].text, "Please set your UT2003 path in settings!");
    EXPECT_EQ(prompts.shown[1].text, "Please set your UT2003 path in settings!");
    EXPECT_EQ(prompts.shown[2].text, "Please specify the correct UT paths to view screenshots.");
}
