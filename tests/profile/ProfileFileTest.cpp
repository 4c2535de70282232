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

TEST(ProfileFile, EditsChangeOnlyTheirValueAndNothingIsLostWhenTheFileOrFolderRefuses) {
    GameInstalls installs;
    const InstalledGame ut = installs.wine(Game::UT);
    appConfig() = AppConfig{};
    appConfig().utPath = appConfig().ut2004Path = ut.executable;  // one profile for both
    const QByteArray keys =
        "bAutoTaunt=True\r\nbNoAutoTaunts=False\r\nbNoVoiceTaunts=False\r\nbNoVoiceMessages=False";
    const auto named = [](const QString& n) { return [n] { return setPlayerName(Game::UT2004, n); }; };
    const auto zoe = named(QString::fromUtf8("Zo\u00eb\u20ac"));
    // Line ends (CR LF, LF, lone CR, none at the end) and the spelling of keys and sections stay.
    const struct {
        QByteArray before;
        std::function<ProfileResult()> edit;
        QByteArray after;
        ProfileEdit result = ProfileEdit::Written;
    } cases[] = {
        {"[Engine.PlayerPawn]\nbautotaunt = true\r\n" + keys.mid(17),
         [] { return setTauntLevel(Game::UT, 2); },
         "[Engine.PlayerPawn]\nbautotaunt = "
         "False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=True\r\nbNoVoiceMessages=False"},
        {keys, [] { return setTauntLevel(Game::UT, 3); },
         "bAutoTaunt=False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=True\r\nbNoVoiceMessages=True"},
        {keys, [] { return setTauntLevel(Game::UT, 1); },
         "bAutoTaunt=False\r\nbNoAutoTaunts=True\r\nbNoVoiceTaunts=False\r\nbNoVoiceMessages=False"},
        {"[XGame.xPlayer]\nTeam=0\nFavTeam=Team=9\nteam=0", [] { return setTeam(Game::UT2004, 1); },
         "[XGame.xPlayer]\nTeam=1\nFavTeam=Team=9\nteam=0"},
        {"[defaultplayer]\rteam=1\roverrideclass=\rTeam=2\r", [] { return setSpectator(true); },
         "[defaultplayer]\rteam=255\roverrideclass=Botpack.CHSpectator\rTeam=255\r"},
        {"Team=255\r\nOverrideClass=Botpack.CHSpectator\r\n", [] { return setSpectator(false, 3); },
         "Team=3\r\nOverrideClass=\r\n"},
        {"Team=1\n", [] { return setUtTeam(2, true); }, "Team=255\n"},
        {GameInstalls::kProfile, zoe,
         QByteArray(GameInstalls::kProfile).replace("Name=Player", "Name=Zo\xeb\x80")},
        {"[defaultplayer]\nname = Player\n", zoe, "[defaultplayer]\nname = Zo\xeb\x80\n"},
        {"[DefaultPlayer]\r\nClass=X\r\n[Other]\r\nName=Keep\r\n", zoe,
         "[DefaultPlayer]\r\nName=Zo\xeb\x80\r\nClass=X\r\n[Other]\r\nName=Keep\r\n"},
        {"A=1\n[DefaultPlayer]", zoe, "A=1\n[DefaultPlayer]\nName=Zo\xeb\x80"},
        {"A=1\r\n[defaultplayer]\r", zoe, "A=1\r\n[defaultplayer]\rName=Zo\xeb\x80\r"},
        {"No header here\r\n", zoe, "No header here\r\n", ProfileEdit::Unchanged},
        {"Name=P\n", named("Big\nBob"), "Name=P\n", ProfileEdit::NameHasControls},
        {"Name=P\n", named("Tab\tBob"), "Name=P\n", ProfileEdit::NameHasControls},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.toStdString());
        GameInstalls::write(ut.profile, c.before);
        EXPECT_EQ(c.edit().edit, c.result);
        EXPECT_EQ(GameInstalls::read(ut.profile), c.after);
    }

    // A shared install takes no new file: the profile is written in place.
    GameInstalls::write(ut.profile, GameInstalls::kProfile);
    {
        const FolderTakingNoNewFiles shared(QFileInfo(ut.profile).path());
        ASSERT_TRUE(shared.active());
        ASSERT_EQ(setTeam(Game::UT, 2), ProfileEdit::Written);
    }
    EXPECT_EQ(GameInstalls::read(ut.profile), QByteArray(GameInstalls::kProfile).replace("team=1", "team=2"));
    // A full disk is no shared install: the file is left alone, not even rewritten in place, and the user
    // told why.
    const QByteArray big = GameInstalls::kProfile + QByteArray(4000, 'x');
    GameInstalls::write(ut.profile, big);
    const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6),
                        QTimeZone::utc());  // tells "left alone" from "same bytes"
    QFile aged(ut.profile);
    ASSERT_TRUE(aged.open(QIODevice::ReadWrite) && aged.setFileTime(old, QFileDevice::FileModificationTime));
    aged.close();
    const ProfileResult full = [] {
        FileSizeLimit disk(64);
        return setTauntLevel(Game::UT, 3);
    }();
    EXPECT_EQ(full, ProfileEdit::WriteFailed);
    EXPECT_EQ(GameInstalls::read(ut.profile), big);
    EXPECT_EQ(QFileInfo(ut.profile).lastModified(), old);
    EXPECT_EQ(profileEditMessage(full, ut.profile)->text,
              "Could not write " + ut.profile +
                  ": File too large\r\n\r\nThe file was left as it was; your change was not saved.");
    EXPECT_EQ(QDir(QFileInfo(ut.profile).path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"UnrealTournament.exe", "UnrealTournament.ini", "User.ini"}));

    GameInstalls::write(ut.profile, "");
    EXPECT_EQ(setTauntLevel(Game::UT, 1), ProfileEdit::Unchanged);
    EXPECT_EQ(GameInstalls::read(ut.profile), "");
    QFile::remove(ut.profile);
    EXPECT_EQ(setSpectator(true), ProfileEdit::Missing);
    EXPECT_FALSE(QFile::exists(ut.profile));  // not brought back half-made

    // A read-only home says so.
    GameInstalls::write(ut.profile, GameInstalls::kProfile);
    const QString system = QFileInfo(ut.profile).path();
    if (const QString why = mountReadOnly(system); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    const ProfileResult readOnly = setTeam(Game::UT2004, 0);
    unmountReadOnly(system);
    EXPECT_EQ(std::pair(readOnly.edit, readOnly.reason),
              std::pair(ProfileEdit::WriteFailed, QString("Read-only file system")));
    EXPECT_EQ(GameInstalls::read(ut.profile), GameInstalls::kProfile);
}
