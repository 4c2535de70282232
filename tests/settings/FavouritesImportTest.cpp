#include <gtest/gtest.h>

#include <QFileInfo>

#include "settings/FavouritesImport.h"
#include "settings/SettingsGrids.h"
#include "support/GameInstalls.h"
#include "support/GridFiles.h"

namespace {
QStringList lines(const char* text) { return QString::fromLatin1(text).split('\n'); }

using Favs = QList<ImportedFavourite>;

FlexGrid freshGrid() {
    FlexGrid g(2, 4);
    layoutSettingsServerGrid(g, kGameColumnWidthOnOpen);
    return g;
}

}  // namespace

TEST(FavouritesImport, Ut2004RunOfFavouritesLines) {
    const Favs found = readUt2004Favourites(lines(
        "[XInterface.ExtendedConsole]\n"
        "ConsoleHotKey=192\n"
        "Favorites=(ServerID=0,IP=\"10.0.0.5\",Port=7777,QueryPort=7778,ServerName=\"One, two\")\n"
        "Favorites=(ServerID=1,IP=\"10.0.0.6:7777\",Port=7777,QueryPort=7788,ServerName=\"B\")\n"
        "Favorites=(ServerID=2,Port=7777,QueryPort=7778)\n"             // no IP=: passed over
        "Favorites=(ServerID=3,IP=\"10.0.0.7\",Port=7777,QueryPort=x,)\n"  // no number
        "Favorites=(ServerID=4,IP=\"10.0.0.8\",Port=7777,QueryPort=7778)\n"  // no comma after
        "Favorites=(ServerID=5,IP=\"\",Port=7777,QueryPort=7778,)\n"   // empty address
        "bSomething=True\n"
        "Favorites=(ServerID=6,IP=\"10.0.0.9\",Port=7777,QueryPort=7778,ServerName=\"late\")\n"));
    EXPECT_EQ(found, (Favs{{"10.0.0.5", "7787"}, {"10.0.0.6", "7797"}}));
    EXPECT_EQ(readUt2004Favourites(lines("[XInterface.ExtendedConsole]\n"
                                         "Favorites=(ServerID=0,IP=\"1.2.3.4\",Port=7777,QueryPort=7778,ServerName=\"x\")")),
              (Favs{{"1.2.3.4", "7787"}}));
    EXPECT_TRUE(readUt2004Favourites(lines("[Engine.Engine]\nRenderDevice=x\n")).isEmpty());
}

TEST(FavouritesImport, Ut2003SectionUpToItsBlankLine) {
    const Favs found = readUt2003Favourites(lines(
        "[XInterface.Browser_ServerListPageFavorites]\n"
        "Favorites=(ServerID=0,IP=\"10.0.0.5\",Port=7777,QueryPort=7778,ServerName=\"A\")\n"
        "Favorites=(IP=\"10.0.0.6\",port=8000,QueryPort=8001)\n"
        "Favorites=(Port=7777,IP=\"10.0.0.7\",QueryPort=7778,ServerName=\"port first\")\n"
        "Favorites=(IP=\"10.0.0.8\",Port=7777)\n"   // no comma after the port
        "\n"
        "Favorites=(IP=\"10.0.0.9\",Port=7777,QueryPort=7778)\n"));
    EXPECT_EQ(found, (Favs{{"10.0.0.5", "7787"}, {"10.0.0.6", "8010"}}));
    // A port that is no number ends the import; the favourites before it stay.
    EXPECT_EQ(readUt2003Favourites(lines("[XInterface.Browser_ServerListPageFavorites]\n"
                                         "Favorites=(IP=\"10.0.0.5\",Port=7777,QueryPort=7778)\n"
                                         "Favorites=(IP=\"10.0.0.6\",Port=abc,QueryPort=7778)\n"
                                         "Favorites=(IP=\"10.0.0.7\",Port=7777,QueryPort=7778)\n")),
              (Favs{{"10.0.0.5", "7787"}}));
}

TEST(FavouritesImport, UtCountedFavourites) {
    EXPECT_EQ(readUtFavourites(lines("[UBrowser.UBrowserFavoritesFact]\n"
                                     "FavoriteCount=3\n"
                                     "Favorites[0]=Alpha\\10.0.0.5:7777\\7778\\True\n"
                                     "Favorites[1]=Broken\\10.0.0.6\\7778\n"   // too few fields
                                     "Favorites[2]=Gamma\\10.0.0.7\\7788\\False\n"
                                     "Favorites[3]=Beyond\\10.0.0.8\\7778\\False\n")),
              (Favs{{"10.0.0.5", "7778"}, {"10.0.0.7", "7788"}}));
    EXPECT_TRUE(readUtFavourites(lines("[UBrowser.UBrowserFavoritesFact]\nFavoriteCount=abc\n"
                                       "Favorites[0]=A\\1.2.3.4\\7778\\True\n")).isEmpty());
    EXPECT_TRUE(readUtFavourites(lines("[UBrowser.UBrowserFavoritesFact]")).isEmpty());
    // The count is the whole number, bounded by the lines the file has.
    QString text = "[UBrowser.UBrowserFavoritesFact]\nFavoriteCount=150\n";
    for (int i = 0; i < 160; ++i)
        text += QString("Favorites[%1]=S%1\\10.0.%2.%3\\7778\\False\n").arg(i).arg(i / 100).arg(i % 100);
    EXPECT_EQ(readUtFavourites(text.split('\n')).size(), 150);
    // A count that runs past the end of the file takes the lines that are there.
    EXPECT_EQ(readUtFavourites(lines("[UBrowser.UBrowserFavoritesFact]\nFavoriteCount=5\n"
                                     "Favorites[0]=A\\1.2.3.4\\7778\\True\n")).size(), 1);
}

TEST(FavouritesImport, DuplicateRuleAndEmptyList) {
    FlexGrid g = freshGrid();
    EXPECT_EQ(addImportedFavourites(g, {{"10.0.0.1", "7787"}, {"10.0.0.2", "7787"}, {"10.0.0.1", "7787"}}, "UT3"), 2);
    EXPECT_EQ(gridRows(g), (QStringList{"|10.0.0.1|7787|UT3", "2|10.0.0.2|7787|UT3"}));
    // Present under another game counts; another port does not.
    EXPECT_EQ(addImportedFavourites(g, {{"10.0.0.2", "7787"}, {"10.0.0.2", "7788"}}, "UT"), 1);
    EXPECT_EQ(gridRows(g).last(), "3|10.0.0.2|7788|UT");
    // A blank first row above other rows is left alone.
    FlexGrid blankFirst = freshGrid();
    appendGridRow(blankFirst, {"2", "10.0.0.2", "7787", "UT3"});
    addImportedFavourites(blankFirst, {{"10.0.0.9", "7787"}}, "UT2");
    EXPECT_EQ(gridRows(blankFirst), (QStringList{"|||", "2|10.0.0.2|7787|UT3", "3|10.0.0.9|7787|UT2"}));
}

TEST(FavouritesImport, WindowsInstallsInAnyLetterCase) {
    GameInstalls installs;
    FlexGrid g = freshGrid();
    const struct { Game game; const char* code; const char* port; } cases[] = {
        {Game::UT2004, "UT3", "7787"}, {Game::UT2003, "UT2", "7787"}, {Game::UT, "UT", "7778"}};
    for (const auto& c : cases) {
        const InstalledGame game = installs.wine(c.game);
        // The executable's name typed in another letter case still finds the ini beside it.
        const QString typed = game.executable.left(game.executable.lastIndexOf('/') + 1) +
                              QFileInfo(game.executable).fileName().toLower().replace(".exe", ".EXE");
        EXPECT_EQ(ImportFavourites(g, c.game, typed), 2) << c.code;
        EXPECT_EQ(g.TextMatrix(g.Rows() - 2, 3), c.code);
        EXPECT_EQ(g.TextMatrix(g.Rows() - 2, 2), c.port);
        g = freshGrid();
    }
    const InstalledGame ut2004 = installs.wine(Game::UT2004);
    EXPECT_EQ(ImportFavourites(g, Game::UT2004, ut2004.executable), 2);
    EXPECT_EQ(ImportFavourites(g, Game::UT2004, ut2004.executable), 0);  // twice adds nothing
    EXPECT_EQ(ImportFavourites(g, Game::UT2003, ut2004.executable), 0);  // no UT2003.ini there
    EXPECT_EQ(ImportFavourites(g, Game::UT2003, ""), 0);
}

TEST(FavouritesImport, NativePortImportsThePlayersOwnIni) {
    GameInstalls installs;
    const struct { Game game; const char* install; const char* executable; QByteArray address; } cases[] = {
        {Game::UT2004, "/usr/local/games/ut2004", "System/ut2004-bin", "127.0.0.3"},
        {Game::UT, "~/.local/share/OldUnreal/UnrealTournament", "System64/ut-bin-amd64", "127.0.0.3"},
        {Game::UT2003, "/opt/ut2003", "System/ut2003-bin", "127.0.0.2"},  // never run: the shipped ini
    };
    for (const auto& c : cases) {
        const InstalledGame game =
            installs.native(c.game, c.install, c.executable, c.address == "127.0.0.2" ? "" : "*");
        FlexGrid g = freshGrid();
        EXPECT_EQ(ImportFavourites(g, c.game, game.executable), 2) << c.executable;
        EXPECT_EQ(g.TextMatrix(1, 1), c.address) << c.executable;
    }
}

TEST(FavouritesImport, BadFilesImportWhatCanBeRead) {
    const QByteArray good = "Favorites=(ServerID=0,IP=\"10.0.0.5\",Port=7777,QueryPort=7778,ServerName=\"A\")\n";
    QByteArray binary;
    for (int i = 0; i < 4096; ++i) binary.append(char(i * 37 % 256));
    const QByteArray cases[] = {
        QByteArray(),
        binary,
        "[XInterface.ExtendedConsole]\n" + good + "Favorites=(ServerID=1,IP=\"10.0.0.6\",Po",  // cut mid-line
        QByteArray(300000, 'F') + "\n" + good,
    };
    const int expected[] = {0, 0, 1, 1};
    GameInstalls installs;
    const InstalledGame game = installs.wine(Game::UT2004);
    for (int i = 0; i < 4; ++i) {
        GameInstalls::write(game.ini, cases[i]);
        FlexGrid g = freshGrid();
        EXPECT_EQ(ImportFavourites(g, Game::UT2004, game.executable), expected[i]) << i;
    }
}
