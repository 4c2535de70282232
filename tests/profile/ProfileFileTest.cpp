#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "profile/ProfileFile.h"
#include "state/AppConfig.h"
#include "support/TestSupport.h"

namespace {
// A game installed in a temporary folder with its "user.ini".
struct Install {
    QTemporaryDir dir;
    QString folder;
    Install(ProfileGame game, const QByteArray& userIni) {
        folder = dir.filePath("System");
        QDir().mkpath(folder);
        const char* exe[] = {"UnrealTournament.exe", "UT2003.exe", "UT2004.EXE"};
        const QString path = folder + "/" + exe[int(game)];
        QFile(path).open(QIODevice::WriteOnly);
        AppConfig& c = appConfig();
        (game == ProfileGame::UT ? c.UtPath : game == ProfileGame::UT2003 ? c.Ut2003Path : c.Ut2004Path) = path;
        write(userIni);
    }
    void write(const QByteArray& bytes) const {
        QFile f(folder + "/user.ini");
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
    }
    QByteArray read() const {
        QFile f(folder + "/user.ini");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

const QByteArray kUtUser =
    "[Engine.Input]\r\nAliases[0]=(Command=\"Button bFire\",Alias=Fire)\r\n"
    "[DefaultPlayer]\r\nName=Player\r\nClass=BotPack.TMale1\r\nteam=1\r\nSkin=\xe9t\xe9\r\n"
    "[Botpack.ChallengeHUD]\r\nOverrideClass=\r\n"
    "[Engine.PlayerPawn]\r\nbautotaunt = true\r\nbNoAutoTaunts=False\r\nbNoVoiceTaunts=False\r\n"
    "bNoVoiceMessages=False\r\nTeam=0\r\n";
}  // namespace

TEST(ProfileFile, TauntLevelsSetTheFourKeysInPlace) {
    Install ut(ProfileGame::UT, kUtUser);
    ASSERT_EQ(SetTauntLevel(ProfileGame::UT, 2), ProfileEdit::Written);
    QByteArray expected = kUtUser;
    expected.replace("bautotaunt = true", "bAutoTaunt=False");
    expected.replace("bNoAutoTaunts=False", "bNoAutoTaunts=True");
    expected.replace("bNoVoiceTaunts=False", "bNoVoiceTaunts=True");
    EXPECT_EQ(ut.read(), expected);
    ASSERT_EQ(SetTauntLevel(ProfileGame::UT, 3), ProfileEdit::Written);
    EXPECT_TRUE(ut.read().contains("bNoVoiceMessages=True\r\n"));
    ASSERT_EQ(SetTauntLevel(ProfileGame::UT, 0), ProfileEdit::Written);
    EXPECT_TRUE(ut.read().contains("bAutoTaunt=True\r\nbNoAutoTaunts=False\r\nbNoVoiceTaunts=False\r\nbNoVoiceMessages=False"));
}

TEST(ProfileFile, TeamsAndSpectating) {
    Install ut(ProfileGame::UT, kUtUser);
    ASSERT_EQ(SetUtTeam(3, true), ProfileEdit::Written);  // gold while spectating
    EXPECT_TRUE(ut.read().contains("Class=BotPack.TMale1\r\nTeam=255\r\n"));
    EXPECT_TRUE(ut.read().endsWith("Team=0\r\n"));          // only the first team line
    ASSERT_EQ(SetSpectator(true), ProfileEdit::Written);
    EXPECT_TRUE(ReadSpectator());
    EXPECT_TRUE(ut.read().contains("OverrideClass=Botpack.CHSpectator\r\n"));
    EXPECT_TRUE(ut.read().endsWith("Team=255\r\n"));        // every team line
    ASSERT_EQ(SetSpectator(false), ProfileEdit::Written);
    EXPECT_FALSE(ReadSpectator());
    EXPECT_EQ(ut.read().count("Team=0\r\n"), 2);

    Install ut2004(ProfileGame::UT2004, "[XGame.xPlayer]\nTeam=0\nFavTeam=Team=9\n");
    ASSERT_EQ(SetTeam(ProfileGame::UT2004, 1), ProfileEdit::Written);
    EXPECT_EQ(ut2004.read(), "[XGame.xPlayer]\nTeam=1\nFavTeam=Team=9\n");  // own line ends kept
}

TEST(ProfileFile, PlayerNameGoesUnderTheHeaderAndKeepsOtherKeys) {
    const struct { QByteArray in, out; } cases[] = {
        {"[defaultplayer]\r\nName=Player\r\nTeam=1\r\n", "[DefaultPlayer]\r\nName=Big_Bob\r\nTeam=1\r\n"},
        {"[DefaultPlayer]\r\nClass=X\r\n", "[DefaultPlayer]\r\nName=Big_Bob\r\nClass=X\r\n"},
        {"A=1\r\n[DefaultPlayer]", "A=1\r\n[DefaultPlayer]\r\nName=Big_Bob\r\n"},
        {"No header here\r\n", "No header here\r\n"}};
    for (const auto& c : cases) {
        Install ut2003(ProfileGame::UT2003, c.in);
        SetPlayerName(ProfileGame::UT2003, "Big_Bob");
        EXPECT_EQ(ut2003.read(), c.out) << c.in.toStdString();
        EXPECT_FALSE(QFile::exists(ut2003.folder + "/user.vyrn"));
    }
}

TEST(ProfileFile, UnchangedLinesComeBackByteForByte) {
    const QByteArray odd = QByteArray("\xff\xfe[Odd]\rKey=\x80\x9d\x81\n\x00zero\r\n", 23) + "Team=0\r\nlast";
    Install ut2004(ProfileGame::UT2004, odd);
    ASSERT_EQ(SetTeam(ProfileGame::UT2004, 1), ProfileEdit::Written);
    QByteArray expected = odd;
    expected.replace("Team=0", "Team=1");
    EXPECT_EQ(ut2004.read(), expected + "\r\n");
}

TEST(ProfileFile, EmptyVanishedAndUnwritableFilesLoseNothing) {
    ScriptedPrompter prompts;
    Install ut(ProfileGame::UT, "");
    EXPECT_EQ(SetTauntLevel(ProfileGame::UT, 1), ProfileEdit::Unchanged);
    EXPECT_EQ(ut.read(), "");
    EXPECT_EQ(SetPlayerName(ProfileGame::UT, "Bob"), ProfileEdit::Unchanged);

    QFile::remove(ut.folder + "/user.ini");
    EXPECT_EQ(SetSpectator(true), ProfileEdit::Missing);
    EXPECT_FALSE(QFile::exists(ut.folder + "/user.ini"));  // not brought back half-made
    EXPECT_FALSE(ReadSpectator());

    ut.write(kUtUser + QByteArray(4000, 'x'));
    {
        FileSizeLimit disk(64);
        const ProfileEdit result = SetTauntLevel(ProfileGame::UT, 3);
        EXPECT_EQ(result, ProfileEdit::WriteFailed);
        ASSERT_TRUE(profileEditMessage(result, ut.folder + "/user.ini"));
    }
    EXPECT_EQ(ut.read(), kUtUser + QByteArray(4000, 'x'));
    EXPECT_EQ(QDir(ut.folder).entryList(QDir::Files).size(), 2);  // the game and user.ini
}
