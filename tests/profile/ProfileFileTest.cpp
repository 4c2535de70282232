#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "profile/ProfileFile.h"
#include "support/GameInstalls.h"
#include "support/TestSupport.h"

TEST(ProfileFile, EditsChangeOnlyTheirLinesAndNothingIsLostWhenTheFileOrFolderRefuses) {
    GameInstalls installs;
    const InstalledGame ut = installs.wine(Game::UT), ut2004 = installs.wine(Game::UT2004);
    appConfig() = AppConfig{};
    appConfig().UtPath = ut.executable;
    appConfig().Ut2004Path = ut2004.executable;
    GameInstalls::write(ut.profile,
                        "[Engine.PlayerPawn]\r\nbautotaunt = true\r\nbNoAutoTaunts=False\r\n"
                        "bNoVoiceTaunts=False\r\nbNoVoiceMessages=False\r\n");
    const std::pair<int, const char*> taunts[] = {
        {2, "bAutoTaunt=False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=True\r\nbNoVoiceMessages=False\r\n"},
        {3, "bAutoTaunt=False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=True\r\nbNoVoiceMessages=True\r\n"},
        {1, "bAutoTaunt=False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=False\r\nbNoVoiceMessages=False\r\n"},
        {0, "bAutoTaunt=True\r\nbNoAutoTaunts=False\r\nbNoVoiceTaunts=False\r\nbNoVoiceMessages=False\r\n"}};
    for (const auto& [level, keys] : taunts) {
        ASSERT_EQ(SetTauntLevel(Game::UT, level), ProfileEdit::Written);
        EXPECT_EQ(GameInstalls::read(ut.profile), "[Engine.PlayerPawn]\r\n" + QByteArray(keys)) << level;
    }
    GameInstalls::write(ut.profile, GameInstalls::kProfile);
    ASSERT_EQ(SetSpectator(true), ProfileEdit::Written);
    EXPECT_TRUE(GameInstalls::read(ut.profile).contains("OverrideClass=Botpack.CHSpectator\r\n"));
    EXPECT_TRUE(GameInstalls::read(ut.profile).endsWith("Team=255\r\n"));  // every team line
    ASSERT_EQ(SetSpectator(false), ProfileEdit::Written);
    EXPECT_EQ(GameInstalls::read(ut.profile).count("Team=0\r\n"), 2);

    GameInstalls::write(ut2004.profile, "[XGame.xPlayer]\nTeam=0\nFavTeam=Team=9");
    ASSERT_EQ(SetTeam(Game::UT2004, 1), ProfileEdit::Written);
    EXPECT_EQ(GameInstalls::read(ut2004.profile), "[XGame.xPlayer]\r\nTeam=1\r\nFavTeam=Team=9\r\n");

    const std::pair<QByteArray, QByteArray> names[] = {
        {GameInstalls::kProfile,
         QByteArray(GameInstalls::kProfile).replace("Name=Player", "Name=Zo\xeb\x80")},
        {"[defaultplayer]\r\nname = Player\r\n", "[DefaultPlayer]\r\nName=Zo\xeb\x80\r\n"},
        {"[DefaultPlayer]\r\nClass=X\r\n[Other]\r\nName=Keep\r\n",
         "[DefaultPlayer]\r\nName=Zo\xeb\x80\r\nClass=X\r\n[Other]\r\nName=Keep\r\n"},
        {"A=1\r\n[DefaultPlayer]", "A=1\r\n[DefaultPlayer]\r\nName=Zo\xeb\x80\r\n"},
        {"No header here\r\n", "No header here\r\n"}};
    for (const auto& [before, after] : names) {  // in the games' code page
        GameInstalls::write(ut2004.profile, before);
        SetPlayerName(Game::UT2004, QString::fromUtf8("Zo\u00eb\u20ac"));
        EXPECT_EQ(GameInstalls::read(ut2004.profile), after) << before.toStdString();
    }

    // A shared install takes no new file: the profile is written in place. A full disk loses nothing.
    GameInstalls::write(ut.profile, GameInstalls::kProfile);
    {
        const FolderTakingNoNewFiles shared(QFileInfo(ut.profile).path());
        ASSERT_TRUE(shared.active());
        ASSERT_EQ(SetTeam(Game::UT, 2), ProfileEdit::Written);
    }
    EXPECT_EQ(GameInstalls::read(ut.profile), QByteArray(GameInstalls::kProfile).replace("team=1", "Team=2"));
    const QByteArray big = GameInstalls::kProfile + QByteArray(4000, 'x');
    GameInstalls::write(ut.profile, big);
    {
        FileSizeLimit disk(64);
        EXPECT_EQ(SetTauntLevel(Game::UT, 3), ProfileEdit::WriteFailed);
    }
    EXPECT_EQ(GameInstalls::read(ut.profile), big);
    EXPECT_EQ(QDir(QFileInfo(ut.profile).path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"UnrealTournament.exe", "UnrealTournament.ini", "User.ini"}));

    GameInstalls::write(ut.profile, "");
    EXPECT_EQ(SetTauntLevel(Game::UT, 1), ProfileEdit::Unchanged);
    EXPECT_EQ(GameInstalls::read(ut.profile), "");
    QFile::remove(ut.profile);
    EXPECT_EQ(SetSpectator(true), ProfileEdit::Missing);
    EXPECT_FALSE(QFile::exists(ut.profile));  // not brought back half-made
}
