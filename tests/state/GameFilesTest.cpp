#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "state/GameFiles.h"
#include "support/GameInstalls.h"
#include "support/TestSupport.h"

TEST(Games, GameFolderOfWhicheverExecutable) {
    GameInstalls installs;
    const InstalledGame wine = installs.wine(Game::UT2004);
    const InstalledGame ut = installs.native(Game::UT, "~/.local/share/OldUnreal/UnrealTournament");
    const QString system = QFileInfo(wine.executable).path();
    QString typed = wine.executable;
    typed.replace("/System/UT2004.exe", "/system/ut2004.EXE");
    const struct {
        QString path, folder;
    } cases[] = {
        {typed, system},                             // the real letter case comes back
        {"C:\\UT2004\\System\\UT2004.exe", system},  // a path written on Windows
        {"c:/UT2004/System/UT2004.exe", system},
        {ut.executable, QFileInfo(ut.executable).path()},  // ".../System64"
        {installs.home() + "/Gone/System/UT2004.exe", installs.home() + "/Gone/System"},
        {"UT2004.exe", ""},  // the working folder is no game folder
    };
    for (const auto& c : cases) EXPECT_EQ(gameFolderOf(c.path), c.folder) << c.path.toStdString();
    EXPECT_EQ(existingExecutable(typed), wine.executable);
    EXPECT_EQ(existingExecutable(system), std::nullopt);
}

// An empty install folder stands for a Windows install in a Wine prefix.
TEST(GameFiles, SettingsProfileAndScreenshotsWhereTheInstallKeepsThem) {
    const struct {
        Game game;
        const char *install, *executable, *preferences, *otherPreferences = nullptr;
    } cases[] = {
        {Game::UT, "", "", "", ".utpg/System"},
        {Game::UT2003, "", "", "", ".ut2003/System"},
        {Game::UT2004, "", "", "", ".ut2004/System"},
        // OldUnreal's folder comes before Loki's when a player has both.
        {Game::UT, "~/.local/share/OldUnreal/UnrealTournament", "System64/ut-bin-amd64", ".utpg/System",
         ".loki/ut/System"},
        {Game::UT, "/usr/local/games/ut", "System/ut-bin", ".loki/ut/System"},
        {Game::UT2003, "/usr/local/games/ut2003", "System/ut2003-bin", ".ut2003/System"},
        {Game::UT2004, "/opt/ut2004", "System/ut2004-bin-linux-amd64", ".ut2004/System"},
        // Never run: the files shipped in the install.
        {Game::UT2004, "/opt/ut2004", "System/ut2004-bin", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.game) << c.install << c.executable);
        GameInstalls installs;
        const bool wine = *c.install == 0;
        const InstalledGame g =
            wine ? installs.wine(c.game) : installs.native(c.game, c.install, c.executable, c.preferences);
        // A native port's preference folder of the same game does not concern a Windows install.
        if (c.otherPreferences)
            GameInstalls::write(installs.home() + "/" + c.otherPreferences + "/User.ini", "x");
        EXPECT_EQ(iniFileOf(c.game, g.executable), g.ini);
        EXPECT_EQ(profileFileOf(c.game, g.executable), g.profile);
        EXPECT_EQ(screenshotFolderOf(c.game, g.executable), g.screenshots);
        if (*c.preferences) continue;
        QFile::remove(g.profile);
        EXPECT_EQ(profileFileOf(c.game, g.executable), std::nullopt);
    }
}

TEST(GameFiles, FindsNativeInstallsInTheUsualPlaces) {
    GameInstalls installs;
    const QString root = installs.root();
    installs.native(Game::UT, "~/.local/share/OldUnreal/UnrealTournament", "System/ut-bin-x86");
    installs.native(Game::UT, "~/.local/share/OldUnreal/UnrealTournament", "System64/ut-bin-amd64");
    installs.native(Game::UT2004, "/opt/ut2004", "System/ut2004-bin");
    installs.native(Game::UT2004, "/opt/ut2004", "System/ut2004-bin-linux-amd64");
    EXPECT_EQ(findNativeInstall(Game::UT2003, installs.home(), root), std::nullopt);
    EXPECT_EQ(findNativeInstall(Game::UT, installs.home(), root),
              installs.home() + "/.local/share/OldUnreal/UnrealTournament/System64/ut-bin-amd64");
    EXPECT_EQ(findNativeInstall(Game::UT2004, installs.home(), root),
              root + "/opt/ut2004/System/ut2004-bin-linux-amd64");
}
