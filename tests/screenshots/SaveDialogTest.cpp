#include <gtest/gtest.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include "screenshots/Form2.h"
#include "dialogs/ElidedText.h"
#include "screenshots/ScreenshotGlobals.h"
#include "state/AppConfig.h"
#include "support/TestSupport.h"

class SaveDialog : public ::testing::Test {
protected:
    QTemporaryDir root;
    ScriptedPrompter prompts;
    void SetUp() override {
        appConfig() = AppConfig();
        screenshotGlobals() = ScreenshotGlobals();
        appConfig().LastSaveFolder = root.path();
    }
};

TEST_F(SaveDialog, SaveAnswersFolderAndNameAsTyped) {
    Form2 f;
    EXPECT_EQ(f.windowTitle(), "VYRN - Save A Picture");
    EXPECT_EQ(f.dirPath(), root.path());
    EXPECT_EQ(f.Label1->fullText(), root.path());
    EXPECT_EQ(f.Text1->text(), "mypic.jpg");
    f.setProposedName("shot0001.jpg");
    f.Text1->setText("holiday");
    f.Command1_Click();
    ASSERT_TRUE(f.answer());
    EXPECT_EQ(f.answer()->folder, root.path());
    EXPECT_EQ(f.answer()->name, "holiday");

    Form2 cancelled;
    cancelled.Command3_Click();
    EXPECT_FALSE(cancelled.answer());
}

TEST_F(SaveDialog, MissingRememberedFolderFallsBack) {
    appConfig().LastSaveFolder = root.filePath("gone");
    Form2 f;
    EXPECT_EQ(f.dirPath(), QDir(defaultSaveFolder()).absolutePath());
    EXPECT_EQ(appConfig().LastSaveFolder, defaultSaveFolder());
}

TEST_F(SaveDialog, NewFolderRefusesSlashesAndReportsFailures) {
    Form2 f;
    prompts.inputs = {QString("sub/dir"), QString("Shots")};
    f.CreateButt_Click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "Don't include slashes. Just type in the name of the folder to create.");
    EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Information);
    EXPECT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[0].prompt, "Type in the folder name to create.");
    EXPECT_EQ(prompts.asked[0].title, "Folder Create");
    EXPECT_TRUE(QDir(root.filePath("Shots")).exists());
    EXPECT_EQ(f.dirPath(), root.path());  // the shown folder stays

    prompts.inputs = {QString("Shots")};
    f.CreateButt_Click();
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[1].text, "Couldn't create folder. Folder may already exist.");
    EXPECT_EQ(prompts.shown[1].title, "Error");
    EXPECT_EQ(prompts.shown[1].icon, MsgIcon::Critical);

    prompts.inputs = {QString()};
    f.CreateButt_Click();  // an empty answer ends it
    EXPECT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(createFolderIn(root.path() + "/", "x"), CreateFolderResult::Created);
    EXPECT_TRUE(QDir(root.filePath("x")).exists());
}
