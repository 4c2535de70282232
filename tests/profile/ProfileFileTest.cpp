#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "profile/ProfileFile.h"
#include "support/GameInstalls.h"
#include "support/TestSupport.h"

namespace {
// The games of one test, installed as players have them and configured in VYRN.
struct Profiles : GameInstalls {
    InstalledGame install(const InstalledGame& g) {
        appConfig() = AppConfig{};
        gamePathOf(appConfig(), g.game) = g.executable;
        return g;
    }
    ~Profiles() { appConfig() = AppConfig{}; }
};

QStringList filesIn(const QString& path) { return QDir(QFileInfo(path).path()).entryList(QDir::Files, QDir::Name); }
}  // namespace

TEST(ProfileFile, TauntLevelsSetTheFourKeysInPlace) {
    Profiles p;
    const InstalledGame ut = p.install(p.wine(Game::UT));
    GameInstalls::write(ut.profile, "[Engine.PlayerPawn]\r\nbautotaunt = true\r\nbNoAutoTaunts=False\r\n"
                                    "bNoVoiceTaunts=False\r\nbNoVoiceMessages=False\r\nTeam=0\r\n");
    const struct { int level; const char* keys; } cases[] = {
        {2, "bAutoTaunt=False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=True\r\nbNoVoiceMessages=False\r\n"},
        {3, "bAutoTaunt=False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=True\r\nbNoVoiceMessages=True\r\n"},
        {1, "bAutoTaunt=False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=False\r\nbNoVoiceMessages=False\r\n"},
        {0, "bAutoTaunt=True\r\nbNoAutoTaunts=False\r\nbNoVoiceTaunts=False\r\nbNoVoiceMessages=False\r\n"}};
    for (const auto& c : cases) {
        ASSERT_EQ(SetTauntLevel(Game::UT, c.level), ProfileEdit::Written);
        EXPECT_EQ(GameInstalls::read(ut.profile), QByteArray("[Engine.PlayerPawn]\r\n") + c.keys + "Team=0\r\n");
    }
}

TEST(ProfileFile, TeamsAndSpectating) {
    Profiles p;
    const InstalledGame ut = p.install(p.wine(Game::UT));
    ASSERT_EQ(SetUtTeam(3, true), ProfileEdit::Written);  // gold while spectating
    EXPECT_TRUE(GameInstalls::read(ut.profile).contains("Name=Player\r\nTeam=255\r\n"));
    EXPECT_TRUE(GameInstalls::read(ut.profile).endsWith("Team=0\r\n"));  // only the first team line
    ASSERT_EQ(SetSpectator(true), ProfileEdit::Written);
    EXPECT_TRUE(ReadSpectator());
    EXPECT_TRUE(GameInstalls::read(ut.profile).contains("OverrideClass=Botpack.CHSpectator\r\n"));
    EXPECT_TRUE(GameInstalls::read(ut.profile).endsWith("Team=255\r\n"));  // every team line
    ASSERT_EQ(SetSpectator(false), ProfileEdit::Written);
    EXPECT_FALSE(ReadSpectator());
    EXPECT_EQ(GameInstalls::read(ut.profile).count("Team=0\r\n"), 2);

    const InstalledGame ut2004 = p.install(p.wine(Game::UT2004));
    GameInstalls::write(ut2004.profile, "[XGame.xPlayer]\nTeam=0\nFavTeam=Team=9");
    ASSERT_EQ(SetTeam(Game::UT2004, 1), ProfileEdit::Written);
    EXPECT_EQ(GameInstalls::read(ut2004.profile), "[XGame.xPlayer]\r\nTeam=1\r\nFavTeam=Team=9\r\n");
}

TEST(ProfileFile, NameReplacesTheSectionsNameLineWhereverItStands) {
    const struct { QByteArray in, out; } cases[] = {
        {GameInstalls::kProfile, QByteArray(GameInstalls::kProfile).replace("Name=Player", "Name=Big_Bob")},
        {"[defaultplayer]\r\nname = Player\r\n", "[DefaultPlayer]\r\nName=Big_Bob\r\n"},
        {"[DefaultPlayer]\r\nClass=X\r\n[Other]\r\nName=Keep\r\n",
         "[DefaultPlayer]\r\nName=Big_Bob\r\nClass=X\r\n[Other]\r\nName=Keep\r\n"},
        {"A=1\r\n[DefaultPlayer]", "A=1\r\n[DefaultPlayer]\r\nName=Big_Bob\r\n"},
        {"No header here\r\n", "No header here\r\n"}};
    Profiles p;
    const InstalledGame ut2003 = p.install(p.wine(Game::UT2003));
    for (const auto& c : cases) {
        GameInstalls::write(ut2003.profile, c.in);
        SetPlayerName(Game::UT2003, "Big_Bob");
        EXPECT_EQ(GameInstalls::read(ut2003.profile), c.out) << c.in.toStdString();
        EXPECT_EQ(filesIn(ut2003.profile), (QStringList{"UT2003.exe", "UT2003.ini", "User.ini"}));
    }
}

TEST(ProfileFile, NameOutsideTheGamesCodePageIsRefused) {
    Profiles p;
    const InstalledGame ut2004 = p.install(p.wine(Game::UT2004));
    EXPECT_EQ(SetPlayerName(Game::UT2004, QString::fromUtf8("\u03a9mega")), ProfileEdit::NameNotWritable);
    EXPECT_EQ(GameInstalls::read(ut2004.profile), GameInstalls::kProfile);
    ASSERT_EQ(SetPlayerName(Game::UT2004, QString::fromUtf8("Zo\u00eb\u20ac")), ProfileEdit::Written);
    EXPECT_TRUE(GameInstalls::read(ut2004.profile).contains("\r\nName=Zo\xeb\x80\r\n"));
}

TEST(ProfileFile, EditsGoToTheProfileTheGameReads) {
    Profiles p;
    // A native port that has run once reads the player's copy in the home folder.
    const InstalledGame ut2004 = p.install(p.native(Game::UT2004, "/usr/local/games/ut2004"));
    const QString shipped = p.root() + "/usr/local/games/ut2004/System/User.ini";
    ASSERT_EQ(profileFilePath(Game::UT2004), p.home() + "/.ut2004/System/User.ini");
    ASSERT_EQ(SetTeam(Game::UT2004, 1), ProfileEdit::Written);
    EXPECT_TRUE(GameInstalls::read(ut2004.profile).contains("\r\nTeam=1\r\n"));
    EXPECT_EQ(GameInstalls::read(shipped), GameInstalls::kProfile);
    // A Windows install of the same game keeps its own, whatever the home folder holds.
    const InstalledGame wine = p.install(p.wine(Game::UT2004));
    EXPECT_EQ(profileFilePath(Game::UT2004), wine.profile);
    appConfig().Ut2004Path = "";
    EXPECT_EQ(profileFilePath(Game::UT2004), std::nullopt);
    EXPECT_EQ(SetTeam(Game::UT2004, 1), ProfileEdit::Missing);
}

TEST(ProfileFile, SharedInstallIsWrittenInPlace) {
    Profiles p;
    const InstalledGame ut = p.install(p.native(Game::UT, "/usr/local/games/ut", "System/ut-bin", ""));
    {
        const FolderTakingNoNewFiles shared(QFileInfo(ut.profile).path());
        ASSERT_TRUE(shared.active());
        ASSERT_EQ(SetTeam(Game::UT, 2), ProfileEdit::Written);
    }
    EXPECT_EQ(GameInstalls::read(ut.profile), QByteArray(GameInstalls::kProfile).replace("team=1", "Team=2"));
    EXPECT_EQ(filesIn(ut.profile), (QStringList{"UnrealTournament.ini", "User.ini", "ut-bin"}));
}

TEST(ProfileFile, EmptyVanishedAndUnwritableFilesLoseNothing) {
    Profiles p;
    const InstalledGame ut = p.install(p.wine(Game::UT));
    GameInstalls::write(ut.profile, "");
    EXPECT_EQ(SetTauntLevel(Game::UT, 1), ProfileEdit::Unchanged);
    EXPECT_EQ(GameInstalls::read(ut.profile), "");
    EXPECT_EQ(SetPlayerName(Game::UT, "Bob"), ProfileEdit::Unchanged);

    QFile::remove(ut.profile);
    EXPECT_EQ(SetSpectator(true), ProfileEdit::Missing);
    EXPECT_FALSE(QFile::exists(ut.profile));  // not brought back half-made
    EXPECT_FALSE(ReadSpectator());

    const QByteArray big = GameInstalls::kProfile + QByteArray(4000, 'x');
    GameInstalls::write(ut.profile, big);
    {
        FileSizeLimit disk(64);
        EXPECT_EQ(SetTauntLevel(Game::UT, 3), ProfileEdit::WriteFailed);
    }
    EXPECT_EQ(GameInstalls::read(ut.profile), big);
    EXPECT_EQ(filesIn(ut.profile), (QStringList{"UnrealTournament.exe", "UnrealTournament.ini", "User.ini"}));
}
