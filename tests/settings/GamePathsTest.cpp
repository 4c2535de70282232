#include <gtest/gtest.h>

#include <QFileInfo>

#include "settings/FolderDialog.h"
#include "settings/SettingsValues.h"
#include "support/GameInstalls.h"

TEST(GamePaths, AutoTakesTheWineRegistryFirstThenNativePortsAndBrowseFindsTheExecutable) {
    GameInstalls installs;
    EXPECT_EQ(detectedGamePath(Game::UT), "");
    EXPECT_FALSE(FolderDialog::volumeRoots().contains(installs.home() + "/.local/share/OldUnreal"));
    const InstalledGame native = installs.native(Game::UT, "~/.local/share/OldUnreal/UnrealTournament");
    EXPECT_EQ(detectedGamePath(Game::UT), native.executable);
    EXPECT_TRUE(FolderDialog::volumeRoots().contains(installs.home() + "/.local/share/OldUnreal"));
    const InstalledGame wine = installs.wine(Game::UT);
    EXPECT_EQ(detectedGamePath(Game::UT), wine.executable);
    // A 64-bit prefix keeps the 32-bit installer's keys under Wow6432Node.
    QByteArray reg = GameInstalls::read(wine.prefix + "/system.reg");
    GameInstalls::write(wine.prefix + "/system.reg",
                        reg.replace("[Software\\\\", "[Software\\\\Wow6432Node\\\\"));
    EXPECT_EQ(detectedGamePath(Game::UT), wine.executable);

    const InstalledGame ut = installs.native(Game::UT, "/usr/local/games/ut", "System/ut-bin");
    const InstalledGame ut2004 =
        installs.native(Game::UT2004, "/opt/ut2004", "System/ut2004-bin-linux-amd64");
    const struct {
        Game game;
        QString folder, path;
    } browsed[] = {
        {Game::UT, QFileInfo(wine.executable).path(), wine.executable},
        {Game::UT2004, QFileInfo(ut2004.executable).path(), ut2004.executable},
        {Game::UT2004, installs.root() + "/opt/ut2004", ut2004.executable},  // the install folder itself
        {Game::UT, QFileInfo(ut.executable).path(), ut.executable},
        {Game::UT, installs.home(), installs.home() + "/unrealtournament.exe"},  // none there: the usual name
        {Game::UT2003, "/", "/ut2003.exe"},
    };
    for (const auto& c : browsed)
        EXPECT_EQ(browsedGamePath(c.game, c.folder), c.path) << c.folder.toStdString();
}
