#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "profile/ProfileDialog.h"
#include "state/AppConfig.h"
#include "support/GameInstalls.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

// UT run through Wine with a spectator's "User.ini", the native UT2004 port, UT2003 not configured.
TEST(GameSettingsDialog, ReadsTheProfilesWritesChoicesAtOnceAndNamesOnDone) {
    GameInstalls games;
    const InstalledGame ut = games.wine(Game::UT);
    const InstalledGame ut2004 = games.native(Game::UT2004, "/usr/local/games/ut2004");
    appConfig() = AppConfig{};
    appConfig().utPath = ut.executable;
    appConfig().ut2004Path = ut2004.executable;
    const QByteArray opened = "[DefaultPlayer]\nteam=2\noverrideclass=botpack.chspectator\n";
    GameInstalls::write(ut.profile, opened);
    ScriptedPrompter prompts;
    ProfileDialog dialog;
    dialog.load();
    EXPECT_FALSE(child<QLineEdit>(dialog, "ut2003NameEdit")->isEnabled());
    EXPECT_TRUE(child<QComboBox>(dialog, "ut2004TauntsCombo")->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(dialog, "spectateCheck")->isChecked());
    auto* note = child<QLabel>(dialog, "pathsNote");
    EXPECT_LE(note->sizeHint().width(), note->width());  // the whole note shows
    EXPECT_EQ(GameInstalls::read(ut.profile), opened);   // the tick found in the file is only shown

    emit child<QComboBox>(dialog, "ut2004TauntsCombo")->activated(3);  // UT2004 taunts: None
    EXPECT_TRUE(GameInstalls::read(ut2004.profile).contains("bNoVoiceTaunts=True\r\nbNoVoiceMessages=True"));
    child<QComboBox>(dialog, "utTeamCombo")->setCurrentIndex(3);
    emit child<QComboBox>(dialog, "utTeamCombo")->activated(3);  // gold, but spectating
    const QByteArray spectating = "[DefaultPlayer]\nteam=255\noverrideclass=botpack.chspectator\n";
    EXPECT_EQ(GameInstalls::read(ut.profile), spectating);
    child<QCheckBox>(dialog, "spectateCheck")->setChecked(false);  // the team shown comes back
    const QByteArray gold = "[DefaultPlayer]\nteam=3\noverrideclass=\n";
    EXPECT_EQ(GameInstalls::read(ut.profile), gold);

    // A name the game cannot store is refused and the dialog stays open for a better one.
    const QString ivan = QString::fromUtf8("\u0418\u0432\u0430\u043d");
    child<QLineEdit>(dialog, "utNameEdit")->setText(ivan);
    child<QPushButton>(dialog, "doneButton")->click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.startsWith("The name " + ivan + " has letters"));
    EXPECT_EQ(GameInstalls::read(ut.profile), gold);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    child<QLineEdit>(dialog, "utNameEdit")->clear();  // an empty box changes nothing
    auto* name = child<QLineEdit>(dialog, "ut2004NameEdit");
    QTest::keyClicks(name, "Big Bob the brave one");  // a 21st letter leaves nineteen
    EXPECT_EQ(name->text(), "Big_Bob_the_brave_o");
    EXPECT_EQ(name->cursorPosition(), 19);
    child<QPushButton>(dialog, "doneButton")->click();
    EXPECT_TRUE(GameInstalls::read(ut2004.profile).contains("\r\nName=Big_Bob_the_brave_o\r\n"));
    EXPECT_EQ(GameInstalls::read(ut.profile), gold);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
