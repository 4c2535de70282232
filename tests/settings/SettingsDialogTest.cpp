#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include "settings/SettingsDialog.h"
#include "settings/SettingsValues.h"
#include "state/AppConfig.h"
#include "support/GameInstalls.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { appConfig() = AppConfig{}; }
    GameInstalls installs;  // a home and Wine prefix of the test's own, never the user's
    TempProgramFolder folder;
};

TEST_F(SettingsDialogTest, FirstRunDetectsTheGamesAddsThroughTheGameChoiceAndDoneWritesTheFiles) {
    const QStringList games{installs.wine(Game::UT).executable, installs.wine(Game::UT2003).executable,
                            installs.wine(Game::UT2004).executable};
    SettingsDialog dialog(true);
    ScriptedPrompter p;
    p.inputs = {QString("10.0.0.5:7777"), QString("7787")};
    QTimer::singleShot(0, [] {
        QWidget* choice = QApplication::activeModalWidget();
        ASSERT_NE(choice, nullptr);
        choice->findChild<QRadioButton*>("ut2004Option")->setChecked(true);
        choice->findChild<QPushButton*>("okButton")->click();
    });
    child<QPushButton>(dialog, "addFavouriteButton")->click();  // Add, through the game choice
    child<QPushButton>(dialog, "doneButton")->click();          // Done
    EXPECT_EQ(folder.read("vyrn.ini"), (games.join("\r\n") + "\r\n1\r\n 1 \r\n\r\n\r\n\r\n1\r\n").toUtf8());
    EXPECT_EQ(folder.read("servers.ini"), "10.0.0.5:7787:UT3\r\n");
    EXPECT_EQ(folder.read("buddies.ini"), "\r\n");
}

TEST_F(SettingsDialogTest, OpensFromTheFilesSwapsOnlyTwoEntriesAndTheCloseBoxSavesEdits) {
    const QString ut = installs.wine(Game::UT).executable;
    folder.write("vyrn.ini", "\r\n/g/ut2003.exe\r\n/g/UT2004.exe\r\n2\r\n 4 \r\nTrue\r\n\r\n\r\n");
    folder.write("servers.ini", "10.0.0.1:7778:UT\r\n\r\n10.0.0.2:7787:ut3\r\n10.0.0.3:7778:UT\r\n");
    folder.write("buddies.ini", "\r\nBob\r\n\r\n[XYZ]**\r\n\r\n");
    SettingsDialog dialog(false);

    ScriptedPrompter p;
    p.inputs = {QString("Carol"), QString("Alice\tTab"), QString()};
    child<QPushButton>(dialog, "clearFavouritesButton")->click();  // Clear asks first; No is the default
    child<QPushButton>(dialog, "clearBuddiesButton")->click();
    ASSERT_EQ(p.shown.size(), 2);
    EXPECT_EQ(std::pair(p.shown[1].text, p.shown[1].defaultButton),
              std::pair(QString("Remove every buddy from the list?"), std::optional(MsgAnswer::No)));
    child<QPushButton>(dialog, "addBuddyButton")->click();  // buddy Add
    dialog.buddyGrid.setCurrentRow(3);
    child<QPushButton>(dialog, "editBuddyButton")->click();  // buddy Edit
    child<QPushButton>(dialog, "editBuddyButton")->click();  // an empty answer changes nothing
    auto* favourites = child<QWidget>(dialog, "favouritesGrid");
    favourites->setFocus();
    QTest::keyClick(favourites, Qt::Key_Down);    // the focus frame's row 1 is taken
    QTest::keyClick(favourites, Qt::Key_Delete);  // favourite Remove on row 1: the row is emptied
    dialog.favouritesGrid.setCurrentRow(3);
    QTimer::singleShot(0, [] {
        QWidget* swap = QApplication::activeModalWidget();
        ASSERT_NE(swap, nullptr);
        swap->findChild<QComboBox*>("secondEntryCombo")->setCurrentIndex(2);  // 3 with 3
        swap->findChild<QPushButton*>("swapButton")->click();
        EXPECT_TRUE(swap->isVisible());
        swap->findChild<QComboBox*>("secondEntryCombo")->setCurrentIndex(1);
        swap->findChild<QPushButton*>("swapButton")->click();
    });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(child<QWidget>(dialog, "swapButton"), &press);
    ASSERT_EQ(p.shown.size(), 3);
    EXPECT_EQ(p.shown[2].text, "These two values cannot be the same!");
    child<QLineEdit>(dialog, "ut2004PathEdit")->setText("/typed/UT2004.exe");
    child<QSlider>(dialog, "refreshDelaySlider")->setValue(5);
    child<QCheckBox>(dialog, "buddyHistoryCheck")->setChecked(true);
    dialog.show();
    dialog.close();

    EXPECT_EQ(folder.read("servers.ini"), "10.0.0.3:7778:UT\r\n\r\n10.0.0.2:7787:ut3\r\n");
    EXPECT_EQ(folder.read("buddies.ini"), "\r\nBob\r\n\r\nAlice\tTab\r\nCarol\r\n\r\n");
    EXPECT_EQ(folder.read("vyrn.ini"),
              (ut + "\r\n/g/ut2003.exe\r\n/typed/UT2004.exe\r\n2\r\n 5 \r\n\r\n\r\n\r\n1\r\n1\r\n").toUtf8());
}

TEST_F(SettingsDialogTest, ShortOrOddConfigOpensWithAValidSlider) {
    const struct {
        QByteArray file;
        int slider;
        bool exit;
    } cases[] = {
        {"a\r\nb\r\n", 1, true},                   // too short for lines 4 and 5
        {"a\r\nb\r\nc\r\n1\r\n 9 \r\n", 5, true},  // out of range
        {"a\r\nb\r\nc\r\nx\r\n-3\r\n", 1, false},
    };
    for (const auto& c : cases) {
        folder.write("vyrn.ini", c.file);
        SettingsValues v;
        FlexGrid buddies(2, 1);
        loadSettings(v, appConfig(), buddies);
        EXPECT_EQ(v.refreshDelay, c.slider) << c.file.toStdString();
        EXPECT_EQ(v.exitAfterLaunch, c.exit) << c.file.toStdString();
    }
}

// A write that fails half-way (a full disk) leaves every file whole and names each one; Cancel and
// Escape write nothing and take back what Auto set.
TEST_F(SettingsDialogTest, FailedSaveCancelAndEscapeKeepEveryFileWhole) {
    const std::pair<const char*, QByteArray> files[] = {{"servers.ini", "10.0.0.1:7778:UT\r\n"},
                                                        {"buddies.ini", "Bob\r\n"},
                                                        {"vyrn.ini", "/ut\r\n\r\n\r\n1\r\n 2 \r\n"}};
    for (const auto& [name, bytes] : files) folder.write(name, bytes);
    const QString ut2004 = installs.wine(Game::UT2004).executable;
    for (const char* close : {"full disk", "cancelButton", "Escape"}) {
        SCOPED_TRACE(close);
        ScriptedPrompter p;
        p.inputs = {QString("Carol")};
        {
            SettingsDialog dialog(false);
            EXPECT_EQ(appConfig().ut2004Path, ut2004);  // detected for the empty box
            child<QPushButton>(dialog, "addBuddyButton")->click();
            child<QPushButton>(dialog, "detectUt2004Button")->click();  // Auto
            dialog.favouritesGrid.setCellText(1, 1, "10.0.0.7");
            dialog.show();
            FileSizeLimit disk(4);
            if (close == std::string("full disk")) dialog.accept();
            else if (close == std::string("Escape")) QTest::keyClick(&dialog, Qt::Key_Escape);
            else child<QPushButton>(dialog, close)->click();
            EXPECT_FALSE(dialog.isVisible());
        }
        for (const auto& [name, bytes] : files) {
            EXPECT_EQ(p.shown.value(0).text.contains(name), close == std::string("full disk")) << name;
            EXPECT_EQ(folder.read(name), bytes);
        }
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3);  // no temporaries left
        EXPECT_EQ(appConfig().ut2004Path, close == std::string("full disk") ? ut2004 : "");
        appConfig() = AppConfig{};
    }
}
