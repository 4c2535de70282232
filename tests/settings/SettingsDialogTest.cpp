#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTimer>

#include "settings/FrmFolder.h"
#include "settings/FrmSelectGame.h"
#include "settings/FrmSwap.h"
#include "settings/FrmVyrnSettings.h"
#include "settings/SettingsGrids.h"
#include "settings/SettingsValues.h"
#include "state/AppConfig.h"
#include "support/GameInstalls.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

namespace {
QStringList fileLines(const TempProgramFolder& folder, const QString& name) {
    QString text = QString::fromUtf8(folder.read(name));
    EXPECT_TRUE(text.isEmpty() || text.endsWith("\r\n")) << name.toStdString();
    text.chop(2);
    return text.split("\r\n");
}

}  // namespace

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        appConfig() = AppConfig{};
        qputenv("WINEPREFIX", emptyPrefix.path().toUtf8());  // never the user's own registry
    }
    void TearDown() override { qunsetenv("WINEPREFIX"); }
    QTemporaryDir emptyPrefix;
    TempProgramFolder folder;
};

TEST_F(SettingsDialogTest, FirstRunDetectsTheGamesAndDoneWritesTheThreeFiles) {
    GameInstalls installs;
    const QStringList games{installs.wine(Game::UT).executable, installs.wine(Game::UT2003).executable,
                            installs.wine(Game::UT2004).executable};
    FrmVyrnSettings dialog(true);
    EXPECT_EQ(dialog.windowTitle(), "VYRN Settings (First Time Setup)");
    EXPECT_EQ((QStringList{child<QLineEdit>(dialog, "Text1")->text(), child<QLineEdit>(dialog, "Text2")->text(),
                           child<QLineEdit>(dialog, "Text3")->text()}),
              games);
    EXPECT_EQ(appConfig().Ut2004Path, games[2]);
    EXPECT_TRUE(child<QRadioButton>(dialog, "Option1")->isChecked());

    child<QPushButton>(dialog, "Command15")->click();
    EXPECT_EQ(fileLines(folder, "vyrn.ini"), games + QStringList({"1", " 1 ", "", "", "", "1"}));
    EXPECT_EQ(folder.read("servers.ini"), "");
    EXPECT_EQ(folder.read("buddies.ini"), "\r\n");
}

TEST_F(SettingsDialogTest, OpensFromTheFilesAndTheCloseBoxSavesEdits) {
    GameInstalls installs;
    const QString ut = installs.wine(Game::UT).executable;
    folder.write("vyrn.ini", "\r\n/games/ut2003/System/ut2003.exe\r\n/games/ut2004/System/UT2004.exe\r\n2\r\n 4 \r\nTrue\r\n/shots\r\n/s\r\n");
    folder.write("servers.ini", "10.0.0.1:7778:UT\r\n\r\n10.0.0.2:7787:ut3\r\n");
    folder.write("buddies.ini", "\r\nBob\r\n\r\n[XYZ]**\r\n\r\n");
    appConfig().LastSaveFolder = "/shots";
    appConfig().LastSaveDrive = "/s";
    FrmVyrnSettings dialog(false);
    EXPECT_EQ(dialog.windowTitle(), "VYRN Settings");
    // The empty UT line is filled from the registry; the others come from the file.
    EXPECT_EQ(child<QLineEdit>(dialog, "Text1")->text(), ut);
    EXPECT_EQ(child<QLineEdit>(dialog, "Text2")->text(), "/games/ut2003/System/ut2003.exe");
    EXPECT_TRUE(child<QRadioButton>(dialog, "Option2")->isChecked());
    EXPECT_EQ(child<QSlider>(dialog, "Slider1")->value(), 4);
    ASSERT_EQ(dialog.ServerGrid.Rows(), 3);
    EXPECT_EQ(dialog.ServerGrid.TextMatrix(2, 0), "2");
    EXPECT_EQ(dialog.ServerGrid.TextMatrix(2, 3), "ut3");
    ASSERT_EQ(dialog.BudList.Rows(), 4);

    ScriptedPrompter p;
    p.inputs = {QString("Carol")};
    child<QPushButton>(dialog, "Command12")->click();  // buddy Add
    dialog.ServerGrid.setRow(1);
    child<QPushButton>(dialog, "Command2")->click();   // favourite Remove on row 1
    child<QLineEdit>(dialog, "Text3")->setText("/typed/UT2004.exe");
    child<QSlider>(dialog, "Slider1")->setValue(5);
    EXPECT_TRUE(child<QCheckBox>(dialog, "CheckAlerts")->isChecked());  // no ninth line: on
    dialog.show();
    dialog.close();

    EXPECT_EQ(fileLines(folder, "servers.ini"), QStringList{"10.0.0.2:7787:ut3"});
    EXPECT_EQ(fileLines(folder, "buddies.ini"), (QStringList{"Bob", "", "[XYZ]**", "Carol"}));
    EXPECT_EQ(fileLines(folder, "vyrn.ini"),
              (QStringList{ut, "/games/ut2003/System/ut2003.exe", "/typed/UT2004.exe", "2", " 5 ", "", "/shots", "/s", "1"}));
}

TEST_F(SettingsDialogTest, AddThroughTheGameChoiceDialog) {
    ScriptedPrompter p;
    p.inputs = {QString("10.0.0.5:7777"), QString("7787")};
    FrmVyrnSettings dialog(false);
    QString choiceTitle;
    QTimer::singleShot(0, [&] {
        QWidget* choice = QApplication::activeModalWidget();
        ASSERT_NE(choice, nullptr);
        choiceTitle = choice->windowTitle();
        choice->findChild<QRadioButton*>("Option3")->setChecked(true);
        choice->findChild<QPushButton*>("Command1")->click();
    });
    child<QPushButton>(dialog, "Command1")->click();
    EXPECT_EQ(choiceTitle, "Select Game:");
    EXPECT_EQ(p.asked.last().defaultText, "7787");
    EXPECT_EQ(dialog.ServerGrid.TextMatrix(1, 1), "10.0.0.5");
    EXPECT_EQ(dialog.ServerGrid.TextMatrix(1, 3), "UT3");
    dialog.accept();
    EXPECT_EQ(fileLines(folder, "servers.ini"), QStringList{"10.0.0.5:7787:UT3"});
}

TEST_F(SettingsDialogTest, SwapDialogRefusesEqualNumbers) {
    folder.write("servers.ini", "10.0.0.1:7778:UT\r\n10.0.0.2:7787:UT3\r\n");
    ScriptedPrompter p;
    FrmVyrnSettings dialog(false);
    dialog.ServerGrid.setRow(2);
    QTimer::singleShot(0, [&] {
        QWidget* swap = QApplication::activeModalWidget();
        ASSERT_NE(swap, nullptr);
        EXPECT_EQ(swap->windowTitle(), "Swap ");
        auto* button = swap->findChild<QPushButton*>("Command1");
        swap->findChild<QComboBox*>("List2")->setCurrentIndex(1);  // 2 with 2
        button->click();
        EXPECT_TRUE(swap->isVisible());
        swap->findChild<QComboBox*>("List2")->setCurrentIndex(0);
        button->click();
    });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(child<QWidget>(dialog, "Picture6"), &press);
    ASSERT_EQ(p.shown.size(), 1);
    EXPECT_EQ(p.shown[0].text, "These two values cannot be the same!");
    EXPECT_EQ(p.shown[0].title, "Swap");
    EXPECT_EQ(dialog.ServerGrid.TextMatrix(1, 1), "10.0.0.2");
    EXPECT_EQ(dialog.ServerGrid.TextMatrix(2, 1), "10.0.0.1");
    EXPECT_FALSE(child<QWidget>(dialog, "Picture5")->isVisible());
    dialog.accept();
}

TEST_F(SettingsDialogTest, ShortOrOddConfigOpensWithAValidSlider) {
    struct Case { QByteArray file; int slider; bool exit; } cases[] = {
        {"a\r\nb\r\n", 1, true},  // too short for lines 4 and 5
        {"a\r\nb\r\nc\r\n1\r\n 9 \r\n", 5, true},
        {"a\r\nb\r\nc\r\n1\r\n0\r\n", 1, true},
        {"a\r\nb\r\nc\r\nx\r\n-3\r\n", 1, false},
        {"a\r\nb\r\nc\r\n1\r\n\r\n", 2, true},
        {"a\r\nb\r\nc\r\n1\r\nfast\r\n", 1, true},
        {QByteArray("\x00\xff\r\n", 4), 1, true},
    };
    for (const Case& c : cases) {
        folder.write("vyrn.ini", c.file);
        SettingsValues v;
        FlexGrid buddies(2, 1);
        LoadSettings(v, appConfig(), buddies);
        EXPECT_EQ(v.refreshDelay, c.slider) << c.file.toStdString();
        EXPECT_EQ(v.exitAfterLaunch, c.exit) << c.file.toStdString();
    }
}

TEST_F(SettingsDialogTest, FailedSaveKeepsTheOldFileAndSaysSo) {
    folder.write("servers.ini", "10.0.0.1:7778:UT\r\n");
    QDir(folder.path()).mkpath("buddies.ini");  // a folder where the file should go
    ScriptedPrompter p;
    {
        FrmVyrnSettings dialog(false);
        dialog.accept();
    }
    ASSERT_EQ(p.shown.size(), 1);
    EXPECT_TRUE(p.shown[0].text.contains("buddies.ini"));
    EXPECT_EQ(folder.read("servers.ini"), "10.0.0.1:7778:UT\r\n");
}

TEST_F(SettingsDialogTest, FolderChooserReturnsOneFolderOrNothing) {
    QTemporaryDir games;
    QDir(games.path()).mkpath("UT2004/System");
    const QString target = games.filePath("UT2004/System");
    {
        FrmFolder chooser("Choose folder for UT2004.exe");
        EXPECT_EQ(chooser.windowTitle(), "Choose folder for UT2004.exe");
        EXPECT_FALSE(FrmFolder::volumeRoots().isEmpty());
        chooser.selectFolder(target);
        EXPECT_EQ(chooser.findChild<QLabel*>("Label1")->text(), target);
        chooser.findChild<QPushButton*>("Command2")->click();  // Cancel
        EXPECT_EQ(chooser.chosenFolder(), std::nullopt);
    }
    {
        FrmFolder chooser("Choose folder for UT2004.exe");
        chooser.selectFolder(target);
        chooser.findChild<QPushButton*>("Command1")->click();  // Select
        EXPECT_EQ(chooser.chosenFolder(), target);
    }
}

TEST(Choosers, OkTakesTheCheckedGameAndTheCloseBoxTakesNothing) {
    FrmSelectGame preselected("UT2");
    child<QPushButton>(preselected, "Command1")->click();
    EXPECT_EQ(preselected.chosenCode(), "UT2");
    FrmSelectGame closed("UT3");
    closed.reject();
    EXPECT_EQ(closed.chosenCode(), std::nullopt);
    FlexGrid servers(4, 4);
    FrmSwap swap(servers);
    swap.reject();
    EXPECT_FALSE(swap.chosenRows());
}
