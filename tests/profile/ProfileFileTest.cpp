#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <functional>

#include "../state/ReadOnlyFolder.h"
#include "profile/ProfileDialog.h"
#include "support/GameInstalls.h"
#include "support/TestSupport.h"

namespace {
// A file's time, to tell a file left alone from one written back with the same bytes.
const QDateTime kOld(QDate(2001, 2, 3), QTime(4, 5, 6), QTimeZone::utc());
void makeOld(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.setFileTime(kOld, QFileDevice::FileModificationTime));
}
}  // namespace

TEST(ProfileFile, EditsChangeOnlyTheirValueAndNothingIsLostWhenTheFileOrFolderRefuses) {
    GameInstalls installs;
    const InstalledGame ut = installs.wine(Game::UT), ut2004 = installs.wine(Game::UT2004);
    appConfig() = AppConfig{};
    appConfig().UtPath = ut.executable;
    appConfig().Ut2004Path = ut2004.executable;
    const QByteArray keys =
        "bAutoTaunt=True\r\nbNoAutoTaunts=False\r\nbNoVoiceTaunts=False\r\nbNoVoiceMessages=False";
    const QByteArray names = "Zo\xeb\x80";
    // Line ends (CR LF, LF, lone CR, none at the end) and the spelling of keys and sections stay.
    const struct {
        Game game;
        QByteArray before;
        std::function<ProfileResult()> edit;
        QByteArray after;
    } cases[] = {
        {Game::UT, "[Engine.PlayerPawn]\nbautotaunt = true\r\n" + keys.mid(17),
         [] { return SetTauntLevel(Game::UT, 2); },
         "[Engine.PlayerPawn]\nbautotaunt = "
         "False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=True\r\nbNoVoiceMessages=False"},
        {Game::UT, keys, [] { return SetTauntLevel(Game::UT, 3); },
         "bAutoTaunt=False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=True\r\nbNoVoiceMessages=True"},
        {Game::UT, keys, [] { return SetTauntLevel(Game::UT, 1); },
         "bAutoTaunt=False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=False\r\nbNoVoiceMessages=False"},
        {Game::UT2004, "[XGame.xPlayer]\nTeam=0\nFavTeam=Team=9\nteam=0",
         [] { return SetTeam(Game::UT2004, 1); }, "[XGame.xPlayer]\nTeam=1\nFavTeam=Team=9\nteam=0"},
        {Game::UT, "[defaultplayer]\rteam=1\roverrideclass=\rTeam=2\r", [] { return SetSpectator(true); },
         "[defaultplayer]\rteam=255\roverrideclass=Botpack.CHSpectator\rTeam=255\r"},
        {Game::UT, "Team=255\r\nOverrideClass=Botpack.CHSpectator\r\n", [] { return SetSpectator(false, 3); },
         "Team=3\r\nOverrideClass=\r\n"},
        {Game::UT, "Team=1\n", [] { return SetUtTeam(2, true); }, "Team=255\n"},
        {Game::UT2004, GameInstalls::kProfile,
         [] { return SetPlayerName(Game::UT2004, QString::fromUtf8("Zo\u00eb\u20ac")); },
         QByteArray(GameInstalls::kProfile).replace("Name=Player", "Name=" + names)},
        {Game::UT2004, "[defaultplayer]\nname = Player\n",
         [] { return SetPlayerName(Game::UT2004, QString::fromUtf8("Zo\u00eb\u20ac")); },
         "[defaultplayer]\nname = " + names + "\n"},
        {Game::UT2004, "[DefaultPlayer]\r\nClass=X\r\n[Other]\r\nName=Keep\r\n",
         [] { return SetPlayerName(Game::UT2004, "Zo\u00eb\u20ac"); },
         "[DefaultPlayer]\r\nName=" + names + "\r\nClass=X\r\n[Other]\r\nName=Keep\r\n"},
        {Game::UT2004, "A=1\n[DefaultPlayer]",
         [] { return SetPlayerName(Game::UT2004, QString::fromUtf8("Zo\u00eb\u20ac")); },
         "A=1\n[DefaultPlayer]\nName=" + names},
        {Game::UT2004, "No header here\r\n", [] { return SetPlayerName(Game::UT2004, "Bob"); },
         "No header here\r\n"},
        {Game::UT2004, "[DefaultPlayer]\nName=P\n", [] { return SetPlayerName(Game::UT2004, "Big\nBob"); },
         "[DefaultPlayer]\nName=P\n"},
        {Game::UT2004, "[DefaultPlayer]\nName=P\n", [] { return SetPlayerName(Game::UT2004, "Tab\tBob"); },
         "[DefaultPlayer]\nName=P\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.toStdString());
        const QString file = c.game == Game::UT ? ut.profile : ut2004.profile;
        GameInstalls::write(file, c.before);
        const ProfileResult result = c.edit();
        EXPECT_EQ(GameInstalls::read(file), c.after);
        EXPECT_EQ(result.edit, c.after == c.before && c.before.contains("Name=P")
                                   ? ProfileEdit::NameHasControls
                               : c.after == c.before ? ProfileEdit::Unchanged
                                                     : ProfileEdit::Written);
    }

    // A shared install takes no new file: the profile is written in place.
    GameInstalls::write(ut.profile, GameInstalls::kProfile);
    {
        const FolderTakingNoNewFiles shared(QFileInfo(ut.profile).path());
        ASSERT_TRUE(shared.active());
        ASSERT_EQ(SetTeam(Game::UT, 2), ProfileEdit::Written);
    }
    EXPECT_EQ(GameInstalls::read(ut.profile), QByteArray(GameInstalls::kProfile).replace("team=1", "team=2"));
    // A full disk is no shared install: the file is left alone, not even rewritten in place, and the user
    // told why.
    const QByteArray big = GameInstalls::kProfile + QByteArray(4000, 'x');
    GameInstalls::write(ut.profile, big);
    makeOld(ut.profile);
    const ProfileResult full = [] {
        FileSizeLimit disk(64);
        return SetTauntLevel(Game::UT, 3);
    }();
    EXPECT_EQ(full, ProfileEdit::WriteFailed);
    EXPECT_EQ(GameInstalls::read(ut.profile), big);
    EXPECT_EQ(QFileInfo(ut.profile).lastModified(), kOld);
    EXPECT_EQ(profileEditMessage(full, ut.profile)->text,
              "Could not write " + ut.profile +
                  ": File too large\r\n\r\nThe file was left as it was; your change was not saved.");
    EXPECT_EQ(QDir(QFileInfo(ut.profile).path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"UnrealTournament.exe", "UnrealTournament.ini", "User.ini"}));

    GameInstalls::write(ut.profile, "");
    EXPECT_EQ(SetTauntLevel(Game::UT, 1), ProfileEdit::Unchanged);
    EXPECT_EQ(GameInstalls::read(ut.profile), "");
    QFile::remove(ut.profile);
    EXPECT_EQ(SetSpectator(true), ProfileEdit::Missing);
    EXPECT_FALSE(QFile::exists(ut.profile));  // not brought back half-made

    // A read-only home says so.
    GameInstalls::write(ut2004.profile, GameInstalls::kProfile);
    const QString system = QFileInfo(ut2004.profile).path();
    if (const QString why = mountReadOnly(system); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    const ProfileResult readOnly = SetTeam(Game::UT2004, 0);
    unmountReadOnly(system);
    EXPECT_EQ(std::pair(readOnly.edit, readOnly.reason),
              std::pair(ProfileEdit::WriteFailed, QString("Read-only file system")));
    EXPECT_EQ(GameInstalls::read(ut2004.profile), GameInstalls::kProfile);
}
