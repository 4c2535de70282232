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

// Keys in any letter case; the query port is QueryPort + 9, else Port + 10; an entry without either is told.
TEST(FavouritesImport, Ut2004RunOfFavouritesLines) {
    QStringList refused;
    EXPECT_EQ(
        readUt2004Favourites(
            lines("[XInterface.ExtendedConsole]\n"
                  "ConsoleHotKey=192\n"
                  "Favorites=(ServerID=0,IP=\"10.0.0.5\",Port=7777,QueryPort=7778,ServerName=\"One, two\")\n"
                  "favorites=(serverid=1,ip=\"10.0.0.6:7777\",port=7777,queryport=7788,servername=\"B\")\n"
                  "Favorites=(ServerID=2,Port=7777,QueryPort=7778)\n"                // no IP=
                  "Favorites=(ServerID=3,IP=\"10.0.0.7\",Port=7777,QueryPort=x,)\n"  // no number
                  "Favorites=(ServerID=4,IP=\"10.0.0.8\",Port=7000,QueryPort=0)\n"   // no query port
                  "Favorites=(ServerID=5,IP=\"10.0.0.9\",Port=0,QueryPort=0)\n"      // no port at all
                  "Favorites=(ServerID=6,IP=\"10.0.0.10\",Port=7777)\n"
                  "bSomething=True\n"
                  "Favorites=(ServerID=7,IP=\"10.0.0.11\",Port=7777,QueryPort=7778,ServerName=\"late\")"),
            &refused),
        (Favs{{"10.0.0.5", "7787"},
              {"10.0.0.6", "7797"},
              {"10.0.0.7", "7787"},
              {"10.0.0.8", "7010"},
              {"10.0.0.10", "7787"}}));
    EXPECT_EQ(refused, (QStringList{"Favorites=(ServerID=2,Port=7777,QueryPort=7778)",
                                    "Favorites=(ServerID=5,IP=\"10.0.0.9\",Port=0,QueryPort=0)"}));
}

TEST(FavouritesImport, Ut2003SectionUpToItsBlankLine) {
    QStringList refused;
    EXPECT_EQ(readUt2003Favourites(
                  lines("[xinterface.browser_serverlistpagefavorites]\n"
                        "Favorites=(ServerID=0,IP=\"10.0.0.5\",Port=7777,QueryPort=7778,ServerName=\"A\")\n"
                        "Favorites=(IP=\"10.0.0.6\",port=8000)\n"
                        "Favorites=(Port=7777,IP=\"10.0.0.7\",QueryPort=7778,ServerName=\"port first\")\n"
                        "Favorites=(IP=\"10.0.0.8\",Port=x)\n"
                        "Favorites=(IP=\"10.0.0.9\",Port=7777)\n"
                        "\n"
                        "Favorites=(IP=\"10.0.0.10\",Port=7777,QueryPort=7778)\n"),
                  &refused),
              (Favs{{"10.0.0.5", "7787"}, {"10.0.0.6", "8010"}, {"10.0.0.7", "7787"}, {"10.0.0.9", "7787"}}));
    EXPECT_EQ(refused, QStringList{"Favorites=(IP=\"10.0.0.8\",Port=x)"});
}

TEST(FavouritesImport, UtCountedFavouritesBoundedByTheLinesThere) {
    EXPECT_EQ(readUtFavourites(lines("[ubrowser.UBrowserFavoritesFact]\n"
                                     "FavoriteCount=5\n"
                                     "Favorites[0]=Alpha\\ 10.0.0.5 :7777\\ 7778 \\True\n"
                                     "Favorites[1]=Broken\\10.0.0.6\\7778\n"  // too few fields
                                     "Favorites[2]=Gamma\\10.0.0.7\\7788\\False\n")),
              (Favs{{"10.0.0.5", "7778"}, {"10.0.0.7", "7788"}}));
    // The count is the whole number, not its first digits; the lines past it are not read.
    QString text = "[UBrowser.UBrowserFavoritesFact]\nFavoriteCount=150\n";
    for (int i = 0; i < 160; ++i)
        text += QString("Favorites[%1]=S%1\\10.0.%2.%3\\7778\\False\n").arg(i).arg(i / 100).arg(i % 100);
    EXPECT_EQ(readUtFavourites(text.split('\n')).size(), 150);
}

TEST(FavouritesImport, AServerAlreadyListedUnderAnyGameIsNotAddedAgain) {
    FlexGrid g = freshGrid();
    EXPECT_EQ(
        addImportedFavourites(g, {{"10.0.0.1", "7787"}, {"10.0.0.2", "7787"}, {"10.0.0.1", "7787"}}, "UT3"),
        2);
    EXPECT_EQ(gridRows(g), (QStringList{"|10.0.0.1|7787|UT3", "2|10.0.0.2|7787|UT3"}));
    // Present under another game counts; another port does not.
    EXPECT_EQ(addImportedFavourites(g, {{"10.0.0.2", "7787"}, {"10.0.0.2", "7788"}}, "UT"), 1);
    EXPECT_EQ(gridRows(g).last(), "3|10.0.0.2|7788|UT");
}

TEST(FavouritesImport, WindowsInstallsInAnyLetterCase) {
    GameInstalls installs;
    const struct {
        Game game;
        const char *code, *port;
    } cases[] = {{Game::UT2004, "UT3", "7787"}, {Game::UT2003, "UT2", "7787"}, {Game::UT, "UT", "7778"}};
    for (const auto& c : cases) {
        const InstalledGame game = installs.wine(c.game);
        // The executable's name typed in another letter case still finds the ini beside it.
        const QString typed = QFileInfo(game.executable).path() + "/" +
                              QFileInfo(game.executable).fileName().toLower().replace(".exe", ".EXE");
        FlexGrid g = freshGrid();
        EXPECT_EQ(importFavourites(g, c.game, typed).added, 2) << c.code;
        EXPECT_EQ(gridRows(g).first(), QString("|127.0.0.1|%1|%2").arg(c.port, c.code));
        EXPECT_EQ(importFavourites(g, c.game, typed).added, 0);  // twice adds nothing
    }
}
