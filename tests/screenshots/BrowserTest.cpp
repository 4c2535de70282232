#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "BmpFixtures.h"
#include "platform/BmpFile.h"
#include "screenshots/Adviewer.h"
#include "screenshots/ScreenshotFolder.h"
#include "screenshots/ScreenshotGlobals.h"
#include "state/AppConfig.h"
#include "support/TestSupport.h"

using namespace fixtures;

class Browser : public ::testing::Test {
protected:
    TempProgramFolder program;
    ScriptedPrompter prompts;
    QString folder = program.file(QStringLiteral("Screenshots")) + '/';

    void SetUp() override {
        QDir().mkpath(folder);
        appConfig() = AppConfig();
    }
    void addShot(const QString& name, QDateTime modified = {}) {
        writeFile(folder + name, bmpBytes(40, 30, 24, gradient));
        if (modified.isValid()) {
            QFile f(folder + name);
            f.open(QIODevice::ReadWrite);
            f.setFileTime(modified, QFileDevice::FileModificationTime);
        }
    }
    QString shownName(Adviewer& v) { return QFileInfo(v.renderer().shownPath).fileName(); }
};

TEST_F(Browser, ListsBitmapsByNameAndStepsThroughThem) {
    for (const char* n : {"c.bmp", "A.BMP", "b.bmp"}) addShot(n);
    writeFile(folder + "notes.txt", "x");
    Adviewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    EXPECT_EQ(v.browser().PictureCount, 3);
    EXPECT_EQ(v.browser().PictureNames, (QStringList{"A.BMP", "b.bmp", "c.bmp", ""}));
    EXPECT_EQ(shownName(v), "A.BMP");
    EXPECT_TRUE(v.windowTitle().startsWith("VYRN Screen shot preview - (" + folder + "A.BMP) "));
    EXPECT_FALSE(v.Image1->pixmap().isNull());

    v.Command3_Click();  // nothing before the first
    EXPECT_EQ(v.browser().CurrentIndex, 0);
    v.Command2_Click();
    v.Command2_Click();
    EXPECT_EQ(shownName(v), "c.bmp");
    v.Command2_Click();  // 2 + 2 > 3: stays
    EXPECT_EQ(v.browser().CurrentIndex, 2);
    v.Command7_Click();
    EXPECT_EQ(shownName(v), "c.bmp");
    v.Command8_Click();
    EXPECT_EQ(shownName(v), "A.BMP");
}

TEST_F(Browser, EachKeyPressStepsOnceWhereverTheFocusIs) {
    for (const char* n : {"1.bmp", "2.bmp", "3.bmp", "4.bmp", "5.bmp"}) addShot(n);
    Adviewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    v.show();
    QApplication::setActiveWindow(&v);
    // A clicked button keeps the focus; the key must not also travel up through its frame.
    v.Command2->setFocus();
    QTest::keyClick(QApplication::focusWidget(), '+');
    EXPECT_EQ(v.browser().CurrentIndex, 1);
    QTest::keyClick(QApplication::focusWidget(), '=');
    EXPECT_EQ(v.browser().CurrentIndex, 2);
    QTest::keyClick(QApplication::focusWidget(), '-');
    EXPECT_EQ(v.browser().CurrentIndex, 1);
    // In a number box the keys step and leave the number alone.
    for (QLineEdit* box : {v.Text2, v.Text4}) {
        box->setFocus();
        const QString before = box->text();
        QTest::keyClick(QApplication::focusWidget(), '+');
        EXPECT_EQ(box->text(), before);
        QTest::keyClick(QApplication::focusWidget(), '-');
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
}

TEST_F(Browser, DateOrderIsTheFilesOwnDateAndTime) {
    addShot("a.bmp", QDateTime(QDate(2004, 1, 4), QTime(9, 0)));
    addShot("b.bmp", QDateTime(QDate(2003, 2, 1), QTime(10, 0)));
    addShot("c.bmp", QDateTime(QDate(2004, 1, 4), QTime(10, 0)));
    addShot("d.bmp", QDateTime(QDate(2004, 1, 4), QTime(21, 5)));
    Adviewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    v.Command2_Click();
    v.Check1->setChecked(true);
    v.Check1_Click();
    // 2003 before 2004 whatever the month; 9 AM before 10 AM before 9:05 PM.
    EXPECT_EQ(v.browser().PictureNames, (QStringList{"b.bmp", "a.bmp", "c.bmp", "d.bmp", ""}));
    EXPECT_EQ(shownName(v), "b.bmp");
    v.Command2_Click();
    v.Check1->setChecked(false);
    v.Check1_Click();
    EXPECT_EQ(shownName(v), "a.bmp");
}

TEST_F(Browser, DeleteAsksAndKeepsThePlace) {
    for (const char* n : {"1.bmp", "2.bmp", "3.bmp"}) addShot(n);
    Adviewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    v.Command2_Click();
    prompts.answers = {MsgAnswer::No};
    v.Command9_Click();
    EXPECT_TRUE(QFile::exists(folder + "2.bmp"));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "Are you sure you want to delete\r\n" + folder + "2.bmp?");
    EXPECT_EQ(prompts.shown[0].title, "Confirm Delete");
    EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(prompts.shown[0].defaultButton, MsgAnswer::No);

    prompts.answers = {MsgAnswer::Yes};
    v.Command9_Click();  // a middle picture: the next one moves into its place
    EXPECT_FALSE(QFile::exists(folder + "2.bmp"));
    EXPECT_EQ(v.browser().PictureCount, 2);
    EXPECT_EQ(shownName(v), "3.bmp");
    prompts.answers = {MsgAnswer::Yes};
    v.Command9_Click();  // the last picture: the new last one is shown
    EXPECT_EQ(v.browser().CurrentIndex, 0);
    EXPECT_EQ(shownName(v), "1.bmp");
    prompts.answers = {MsgAnswer::Yes};
    v.Command9_Click();  // the only picture
    EXPECT_EQ(v.browser().PictureCount, 0);
    EXPECT_EQ(v.browser().CurrentIndex, 0);
    EXPECT_TRUE(v.Image1->pixmap().isNull());
    const qsizetype asked = prompts.shown.size();
    v.Command9_Click();  // nothing left: no question
    v.Command1_Click();
    v.Command5_Click();
    EXPECT_EQ(prompts.shown.size(), asked);
}

TEST(BrowserDelete, EnterInTheRealQuestionKeepsThePicture) {
    TempProgramFolder program;
    const QString folder = program.path() + "/<b>Shots</b>/";  // a folder name is not markup
    QDir().mkpath(folder);
    writeFile(folder + "Shot0001.bmp", bmpBytes(40, 30, 24, gradient));
    Adviewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    QString asked;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(100, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        asked = box->windowTitle();
        if (auto* text = box->findChild<QLabel*>("qt_msgbox_label")) format = text->textFormat();
        QTest::keyClick(box, Qt::Key_Return);
    });
    v.Command9_Click();  // the Qt message box, answered by Enter
    EXPECT_EQ(asked, "Confirm Delete");
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_TRUE(QFile::exists(folder + "Shot0001.bmp"));
}

TEST_F(Browser, TooLargeASizeNamesTheLimit) {
    addShot("a.bmp");
    Adviewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    const qint64 height = maxBmpPixels() / kMaxBmpSide + 1;
    v.Text2->setText(QString::number(kMaxBmpSide));
    v.Text3->setText(QString::number(height));
    v.Command1_Click();
    ASSERT_EQ(prompts.shown.size(), 1);
    const QString text = prompts.shown[0].text;
    EXPECT_TRUE(text.startsWith(QStringLiteral("The picture is too large to save at %1 x %2 pixels.")
                                    .arg(kMaxBmpSide)
                                    .arg(height)))
        << text.toStdString();
    // 33,554,432 under Qt's 128 MB
    EXPECT_TRUE(text.contains(QLocale(QLocale::English).toString(maxBmpPixels()) + " pixels")) << text.toStdString();
    EXPECT_EQ(prompts.shown[0].title, "Error in JPEG conversion");
}

TEST_F(Browser, EmptyFolderNavigatesNowhere) {
    Adviewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    EXPECT_EQ(v.browser().PictureCount, 0);
    v.Command2_Click();
    v.Command3_Click();
    EXPECT_EQ(v.browser().CurrentIndex, 0);
    v.Command7_Click();
    EXPECT_EQ(v.browser().CurrentIndex, -1);
    EXPECT_TRUE(v.Image1->pixmap().isNull());
    EXPECT_EQ(v.windowTitle(), "VYRN Screen shot preview");
}

TEST_F(Browser, FieldsFallBackWhenNotANumber) {
    Adviewer v(folder);
    const struct { QLineEdit* field; const char* typed; const char* after; } cases[] = {
        {v.Text1, "abc", "10"}, {v.Text1, "-5.5", "-5.5"}, {v.Text2, "x", ""},
        {v.Text3, "600", "600"}, {v.Text4, "q", "10"}, {v.Text4, "&H20", "&H20"}, {v.Text4, "", "10"}};
    for (const auto& c : cases) {
        c.field->setText(c.typed);
        EXPECT_EQ(c.field->text(), c.after) << c.typed;
    }
}

TEST_F(Browser, BrightnessShowsATemporaryPictureThatClosingRemoves) {
    addShot("a.bmp");
    program.write("vyrn.ini", "ut\r\nut2\r\nut3\r\n1\r\n 3 \r\nTrue\r\nold\r\nol\r\n");
    appConfig() = {"ut", "ut2", "ut3", "1", " 3 ", "/saved/here/", "/s", {}};
    Adviewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    v.Command4_Click();  // brighter: the adjusted temporary picture is shown
    EXPECT_TRUE(v.windowTitle().contains("vyrntmppic.bmp"));
    program.write("vyrntmppic.jpg", "x");
    v.reject();
    EXPECT_FALSE(program.exists("vyrntmppic.bmp"));
    EXPECT_FALSE(program.exists("vyrntmppic.jpg"));
    EXPECT_EQ(program.read("vyrn.ini"), "ut\r\nut2\r\nut3\r\n1\r\n 3 \r\n\r\n/saved/here/\r\n/s\r\n");

    TempProgramFolder bare;
    Adviewer w(folder);
    w.reject();
    EXPECT_FALSE(bare.exists("vyrn.ini"));
}

TEST_F(Browser, MissingFolderIsRefused) {
    Adviewer v(folder + "gone/");
    EXPECT_FALSE(v.Form_Load());
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "Please specify the correct UT paths to view screenshots.");
    EXPECT_EQ(prompts.shown[0].title, "VYRN");
    EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Information);
}

TEST_F(Browser, OpeningFindsEachGamesScreenshotFolder) {
    const QString game = program.file("UT2004");
    QDir().mkpath(game + "/System");
    QDir().mkpath(game + "/ScreenShots");
    QDir().mkpath(program.file("UT/System"));
    AppConfig c;
    c.UtPath = program.file("UT/System/UnrealTournament.exe");
    c.Ut2004Path = game + "/System/UT2004.exe";
    EXPECT_EQ(ScreenshotFolderFor(ScreenshotGame::UT, c), program.file("UT/System/"));
    EXPECT_EQ(ScreenshotFolderFor(ScreenshotGame::UT2004, c), game + "/ScreenShots/");
    EXPECT_EQ(ScreenshotFolderFor(ScreenshotGame::UT2003, c), std::nullopt);  // empty path
    c.Ut2003Path = program.file("nowhere/System/ut2003.exe");
    EXPECT_EQ(ScreenshotFolderFor(ScreenshotGame::UT2003, c), std::nullopt);  // missing folder

    appConfig() = c;
    openScreenshotViewer(nullptr, ScreenshotGame::UT2003);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "Please set your UT2003 path in settings!");
    EXPECT_EQ(prompts.shown[0].title, kAppTitle);
}
