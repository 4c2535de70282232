#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "state/GameFiles.h"
#include "support/GameInstalls.h"
#include "support/TestSupport.h"

TEST(Games, GameFolderOfWhicheverExecutable) {
    GameInstalls installs;
    const InstalledGame wine = installs.wine(Game::UT2004);
    const InstalledGame ut = installs.native(Game::UT, "~/.local/share/OldUnreal/UnrealTournament");
    const InstalledGame ut2003 = installs.native(Game::UT2003, "/usr/local/games/ut2003");
    const QString system = QFileInfo(wine.executable).path();
    QString typed = wine.executable;
    typed.replace("/System/UT2004.exe", "/system/ut2004.EXE");
    const struct { QString path, folder; } cases[] = {
        {wine.executable, system},
        {typed, system},  // the real letter case comes back
        {"C:\\UT2004\\System\\UT2004.exe", system},  // a path written on Windows
        {ut.executable, QFileInfo(ut.executable).path()},  // ".../System64"
        {ut2003.executable, installs.root() + "/usr/local/games/ut2003/System"},
        {installs.home() + "/Gone/System/UT2004.exe", installs.home() + "/Gone/System"},
        {"", ""},
        {"UT2004.exe", ""},  // the working folder is no game folder
    };
    for (const auto& c : cases) EXPECT_EQ(gameFolderOf(c.path), c.folder) << c.path.toStdString();
    EXPECT_EQ(existingExecutable(typed), wine.executable);
    EXPECT_EQ(existingExecutable(system), std::nullopt);
}

TEST(GameFiles, WindowsInstallKeepsItsFilesBesideTheExecutable) {
    for (Game game : kGames) {
        GameInstalls installs;
        const InstalledGame g = installs.wine(game);
        // A native port's preference folder of the same game does not concern a Windows install.
        GameInstalls::write(installs.home() + "/" + gameInfo(game).preferenceFolders.first() + "/User.ini", "x");
        EXPECT_EQ(iniFileOf(game, g.executable), g.ini);
        EXPECT_EQ(profileFileOf(game, g.executable), g.profile);
        EXPECT_EQ(screenshotFolderOf(game, g.executable), g.screenshots);
    }
}

TEST(GameFiles, NativePortReadsThePlayersPreferenceFolder) {
    const struct { Game game; const char* install; const char* executable; const char* preferences; } cases[] = {
        {Game::UT, "~/.local/share/OldUnreal/UnrealTournament", "System64/ut-bin-amd64", ".utpg/System"},
        {Game::UT, "/usr/local/games/ut", "System/ut-bin", ".loki/ut/System"},
        {Game::UT2003, "/usr/local/games/ut2003", "System/ut2003-bin", ".ut2003/System"},
        {Game::UT2004, "/opt/ut2004", "System/ut2004-bin-linux-amd64", ".ut2004/System"},
    };
    for (const auto& c : cases) {
        GameInstalls installs;
        const InstalledGame g = installs.native(c.game, c.install, c.executable, c.preferences);
        EXPECT_TRUE(g.ini.startsWith(installs.home() + "/" + c.preferences)) << g.ini.toStdString();
        EXPECT_EQ(iniFileOf(c.game, g.executable), g.ini);
        EXPECT_EQ(profileFileOf(c.game, g.executable), g.profile);
        EXPECT_EQ(screenshotFolderOf(c.game, g.executable), g.screenshots);
    }
    // Not yet run: the files shipped in the install.
    GameInstalls installs;
    const InstalledGame g = installs.native(Game::UT2004, "/opt/ut2004", "System/ut2004-bin", "");
    EXPECT_EQ(iniFileOf(Game::UT2004, g.executable), installs.root() + "/opt/ut2004/System/UT2004.ini");
    EXPECT_EQ(profileFileOf(Game::UT2004, g.executable), g.profile);
    EXPECT_EQ(screenshotFolderOf(Game::UT2004, g.executable), installs.root() + "/opt/ut2004/ScreenShots");
    QFile::remove(g.profile);
    EXPECT_EQ(profileFileOf(Game::UT2004, g.executable), std::nullopt);
}

TEST(GameFiles, FindsNativeInstallsInTheUsualPlaces) {
    GameInstalls installs;
    const QString root = installs.root();
    EXPECT_EQ(findNativeInstall(Game::UT2004, installs.home(), root), std::nullopt);
    installs.native(Game::UT, "~/.local/share/OldUnreal/UnrealTournament", "System/ut-bin-x86");
    installs.native(Game::UT, "~/.local/share/OldUnreal/UnrealTournament", "System64/ut-bin-amd64");
    installs.native(Game::UT2004, "/opt/ut2004", "System/ut2004-bin");
    installs.native(Game::UT2004, "/opt/ut2004", "System/ut2004-bin-linux-amd64");
    const InstalledGame ut2003 = installs.native(Game::UT2003, "/usr/local/games/ut2003");
    EXPECT_EQ(findNativeInstall(Game::UT, installs.home(), root),
              installs.home() + "/.local/share/OldUnreal/UnrealTournament/System64/ut-bin-amd64");
    EXPECT_EQ(findNativeInstall(Game::UT2004, installs.home(), root), root + "/opt/ut2004/System/ut2004-bin-linux-amd64");
    EXPECT_EQ(findNativeInstall(Game::UT2003, installs.home(), root), ut2003.executable);
}
