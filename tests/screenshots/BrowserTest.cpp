#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "BmpFixtures.h"
#include "screenshots/Adviewer.h"
#include "screenshots/ScreenshotFolder.h"
#include "screenshots/ScreenshotGlobals.h"
#include "state/AppConfig.h"
#include "support/TestSupport.h"

using namespace fixtures;

TEST(DateKey, MonthAndDayTwoDigitsAfternoonOn24HourClock) {
    const struct { const char* date; const char* key; } cases[] = {
        {"3/7/2004 9:05:12 PM", "03/07/2004 21:05:12 PM"},
        {"12/25/2003 12:30:00 AM", "12/25/2003 00:30:00 AM"},
        {"1/2/2004 10:00:00 AM", "01/02/2004 10:00:00 AM"},
        {"11/30/2004 12:15:00 PM", "11/30/2004 12:15:00 PM"},
        {"4/4/2004 1:01:01 PM", "04/04/2004 13:01:01 PM"},
        {"4/4/2004 11:01:01 PM", "04/04/2004 23:01:01 PM"},
        {"4/4/2004 1:01:01 AM", "04/04/2004 1:01:01 AM"},
    };
    for (const auto& c : cases) EXPECT_EQ(dateKey(c.date), c.key) << c.date;
    // Month and day sort before the year.
    EXPECT_TRUE(listBoxLess("01/05/2004 1:00:00 AM | b.bmp", "02/01/2003 1:00:00 AM | a.bmp"));
    EXPECT_TRUE(listBoxLess("a b", "a1"));   // blanks before digits
    EXPECT_TRUE(listBoxLess("a1", "aB"));    // digits before letters
    EXPECT_TRUE(listBoxLess("ab", "AC"));    // case ignored
}

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
    QTest::keyClicks(&v, "=");
    EXPECT_EQ(v.browser().CurrentIndex, 1);
    QTest::keyClicks(v.Text1, "+");  // keys reach the window before its fields
    EXPECT_EQ(v.browser().CurrentIndex, 2);
    EXPECT_EQ(shownName(v), "c.bmp");
    v.Command2_Click();  // 2 + 2 > 3: stays
    EXPECT_EQ(v.browser().CurrentIndex, 2);
    QTest::keyClicks(&v, "-");
    EXPECT_EQ(shownName(v), "b.bmp");
    v.Command7_Click();
    EXPECT_EQ(shownName(v), "c.bmp");
    v.Command8_Click();
    EXPECT_EQ(shownName(v), "A.BMP");
}

TEST_F(Browser, DateOrderAndBackToFirstOnEveryTick) {
    addShot("a.bmp", QDateTime(QDate(2004, 2, 1), QTime(9, 0)));
    addShot("b.bmp", QDateTime(QDate(2003, 12, 25), QTime(0, 30)));
    addShot("c.bmp", QDateTime(QDate(2004, 2, 1), QTime(21, 5)));
    Adviewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    v.Command2_Click();
    v.Check1->setChecked(true);
    v.Check1_Click();
    // 02/01/2004 09:00 AM -> "9:00" sorts after "21:05" as text; 12/25 sorts last by month.
    EXPECT_EQ(v.browser().PictureNames, (QStringList{"c.bmp", "a.bmp", "b.bmp", ""}));
    EXPECT_EQ(v.browser().CurrentIndex, 0);
    EXPECT_EQ(shownName(v), "c.bmp");
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

TEST_F(Browser, BrightnessChangeShowsTheAdjustedTemporaryPicture) {
    addShot("a.bmp");
    Adviewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    v.Command4_Click();
    EXPECT_TRUE(program.exists("vyrntmppic.bmp"));
    EXPECT_TRUE(v.windowTitle().contains("vyrntmppic.bmp"));
    v.Command5_Click();  // Default
    EXPECT_EQ(shownName(v), "a.bmp");
}

TEST_F(Browser, ClosingRemovesTemporaryFilesAndRewritesTheConfig) {
    addShot("a.bmp");
    program.write("vyrn.ini", "ut\r\nut2\r\nut3\r\n1\r\n 3 \r\nTrue\r\nold\r\nol\r\n");
    appConfig() = {"ut", "ut2", "ut3", "1", " 3 ", "/saved/here/", "/s"};
    Adviewer v(folder);
    ASSERT_TRUE(v.Form_Load());
    v.Command4_Click();
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
    EXPECT_EQ(screenshotPathMessage(ScreenshotGame::UT), "Please set your UT path in settings!");
    EXPECT_EQ(screenshotPathMessage(ScreenshotGame::UT2004), "Please set your UT2004 path in settings!");
}
