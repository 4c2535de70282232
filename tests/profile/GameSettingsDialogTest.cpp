#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "profile/frmGameSettings.h"
#include "profile/NameFilter.h"
#include "state/AppConfig.h"
#include "support/GameInstalls.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

namespace {
// UT run through Wine and the native UT2004 port, each with its real "User.ini"; UT2003
// not configured.
struct TwoGames : GameInstalls {
    InstalledGame ut, ut2004;
    explicit TwoGames(const QByteArray& utUser) {
        ut = wine(Game::UT);
        ut2004 = native(Game::UT2004, "/usr/local/games/ut2004");
        appConfig() = AppConfig{};
        appConfig().UtPath = ut.executable;
        appConfig().Ut2004Path = ut2004.executable;
        write(ut.profile, utUser);
    }
    ~TwoGames() { appConfig() = AppConfig{}; }
};

}  // namespace

TEST(GameSettingsDialog, NameFilter) {
    EXPECT_EQ(filterPlayerName("Big Bob"), "Big_Bob");
    EXPECT_EQ(filterPlayerName(QString(20, 'a')), QString(20, 'a'));
    EXPECT_EQ(filterPlayerName("a b c d e f g h i j k l m"), "a_b_c_d_e_f_g_h_i_j");
}

TEST(GameSettingsDialog, EnablingFollowsTheProfilesAndSpectatingIsRead) {
    TwoGames games("[DefaultPlayer]\r\nName=P\r\nTeam=2\r\noverrideclass=botpack.chspectator\r\n");
    frmGameSettings dialog;
    dialog.Form_Load();
    EXPECT_EQ(dialog.windowTitle(), "Game Settings");
    EXPECT_TRUE(child<QLineEdit>(dialog, "Text1")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(dialog, "Text2")->isEnabled());  // UT2003 not configured
    EXPECT_FALSE(child<QComboBox>(dialog, "Combo2")->isEnabled());
    EXPECT_TRUE(child<QComboBox>(dialog, "Combo5")->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(dialog, "Check2")->isChecked());
    // The tick found in the file was written back as the user's own.
    EXPECT_EQ(TwoGames::read(games.ut.profile),
              "[DefaultPlayer]\r\nName=P\r\nTeam=255\r\nOverrideClass=Botpack.CHSpectator\r\n");
    EXPECT_EQ(child<QComboBox>(dialog, "Combo4")->currentIndex(), -1);
    auto* note = child<QLabel>(dialog, "Label7");
    EXPECT_LE(note->sizeHint().width(), note->width());  // the whole note shows
}

TEST(GameSettingsDialog, ChoicesWriteAtOnceAndDoneWritesNames) {
    TwoGames games("[DefaultPlayer]\r\nName=P\r\nTeam=0\r\nOverrideClass=\r\n");
    frmGameSettings dialog;
    dialog.Form_Load();
    emit child<QComboBox>(dialog, "Combo5")->activated(3);  // UT2004 taunts: None
    EXPECT_TRUE(TwoGames::read(games.ut2004.profile).contains("bAutoTaunt=False\r\nbNoAutoTaunts=True\r\n"
                                                              "bNoVoiceTaunts=True\r\nbNoVoiceMessages=True"));
    child<QCheckBox>(dialog, "Check2")->setChecked(true);
    emit child<QComboBox>(dialog, "Combo3")->activated(1);  // blue, but spectating
    EXPECT_TRUE(TwoGames::read(games.ut.profile).contains("Team=255"));

    auto* name = child<QLineEdit>(dialog, "Text3");
    QTest::keyClicks(name, "Big Bob");
    EXPECT_EQ(name->text(), "Big_Bob");
    EXPECT_EQ(name->cursorPosition(), 7);
    const QByteArray utBefore = TwoGames::read(games.ut.profile);
    child<QPushButton>(dialog, "Command15")->click();
    EXPECT_TRUE(TwoGames::read(games.ut2004.profile).contains("[DefaultPlayer]\r\nClass=Botpack.TMale1\r\nName=Big_Bob\r\n"));
    EXPECT_EQ(TwoGames::read(games.ut.profile), utBefore);  // an empty box changes nothing
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(GameSettingsDialog, NameTheGameCannotStoreIsRefusedWithAMessage) {
    TwoGames games("[DefaultPlayer]\r\nName=P\r\n");
    ScriptedPrompter prompts;
    frmGameSettings dialog;
    dialog.Form_Load();
    child<QLineEdit>(dialog, "Text1")->setText(QString::fromUtf8("\u0418\u0432\u0430\u043d"));
    child<QPushButton>(dialog, "Command15")->click();
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_TRUE(prompts.shown[0].text.startsWith(QString::fromUtf8("The name \u0418\u0432\u0430\u043d has letters")));
    EXPECT_EQ(prompts.shown[0].title, "Game Settings");
    EXPECT_EQ(TwoGames::read(games.ut.profile), "[DefaultPlayer]\r\nName=P\r\n");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // still open for a better name
}
