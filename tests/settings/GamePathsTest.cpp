#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "settings/FolderDialog.h"
#include "settings/GameDetection.h"
#include "settings/SettingsValues.h"
#include "support/GameInstalls.h"
#include "support/TestSupport.h"

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

// Steam's prefix of each library, Lutris's prefixes; a registry naming a deleted folder is passed over.
TEST(GamePaths, AutoTakesOnlyAnExecutableThatIsThereFromEveryPrefixAndSaysWhereItLooked) {
    GameInstalls installs;
    const QString home = installs.home();
    const InstalledGame gone = installs.wine(Game::UT);
    QDir(QFileInfo(gone.executable).path()).removeRecursively();
    const InstalledGame native = installs.native(Game::UT, "~/.local/share/OldUnreal/UnrealTournament");
    EXPECT_EQ(searchGame(Game::UT, home).path, native.executable);

    const GameSearch none = searchGame(Game::UT2003, home);
    EXPECT_EQ(none.path, "");
    EXPECT_EQ(notFoundText(Game::UT2003, none.looked),
              "VYRN found no UT2003. It looked in:\r\n" + home +
                  "/.wine/system.reg\r\n/usr/local/games/ut2003\r\n/opt/ut2003");

    const InstalledGame steam = installs.wine(Game::UT2004, ".steam/steam/steamapps/compatdata/13230/pfx");
    EXPECT_EQ(searchGame(Game::UT2004, home).path, steam.executable);
    GameInstalls::write(home + "/.steam/steam/steamapps/libraryfolders.vdf",
                        "\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" + home.toUtf8() +
                            "/Games/Library\"\n\t}\n}\n");
    QDir(QFileInfo(gone.executable).path()).removeRecursively();
    const InstalledGame library = installs.wine(Game::UT, "Games/Library/steamapps/compatdata/13240/pfx");
    EXPECT_EQ(searchGame(Game::UT, home).path, library.executable);
    GameInstalls::write(
        home + "/.config/lutris/games/ut2003-1700000000.yml",
        "game:\n  exe: drive_c/UT2003/System/UT2003.exe\n  prefix: " + home.toUtf8() + "/lutris/ut2003\n");
    const InstalledGame lutris = installs.wine(Game::UT2003, "lutris/ut2003");
    const GameSearch found = searchGame(Game::UT2003, home);
    EXPECT_EQ(found.path, lutris.executable);
    EXPECT_EQ(found.looked.last(), lutris.prefix + "/system.reg");

    // Browse reaches hidden folders; a typed folder that is not there is refused.
    const InstalledGame wine = installs.wine(Game::UT2004);

    ScriptedPrompter p;
    for (const QString& typed : {QString("~/.wine/drive_c/UT2004/System"), installs.home() + "/.nowhere"}) {
        FolderDialog chooser("Choose folder for UT2004.exe");
        chooser.findChild<QLineEdit*>("typedFolder")->setText(typed);
        chooser.findChild<QPushButton*>("selectButton")->click();
        EXPECT_EQ(chooser.chosenFolder().value_or("none"),
                  typed.startsWith('~') ? QFileInfo(wine.executable).path() : "none");
    }
    ASSERT_EQ(p.shown.size(), 1);
    EXPECT_EQ(p.shown[0].text, "The folder " + installs.home() + "/.nowhere does not exist.");
}
