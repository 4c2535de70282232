#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "settings/FavouritesImport.h"
#include "settings/SettingsGrids.h"

namespace {
QStringList lines(const char* text) { return QString::fromLatin1(text).split('\n'); }

using Favs = QList<ImportedFavourite>;

FlexGrid freshGrid() {
    FlexGrid g(2, 4);
    layoutSettingsServerGrid(g, kGameColumnWidthOnOpen);
    return g;
}

QStringList rowTexts(const FlexGrid& g) {
    QStringList rows;
    for (int r = 1; r < g.Rows(); ++r)
        rows.append(QStringList{g.TextMatrix(r, 0), g.TextMatrix(r, 1), g.TextMatrix(r, 2), g.TextMatrix(r, 3)}
                        .join('|'));
    return rows;
}

// A game folder as an install leaves it: System/ with the game's own letter case.
struct GameFolder {
    QTemporaryDir dir;
    GameFolder(const QString& iniName, const QByteArray& contents) {
        QDir(dir.path()).mkpath("System");
        QFile f(dir.filePath("System/" + iniName));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }
    QString exe(const QString& name) const { return dir.filePath("System/" + name); }
};
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
}

TEST(FavouritesImport, Ut2004SingleFavouriteOnTheLastLine) {
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
}

TEST(FavouritesImport, Ut2003NonNumericPortEndsTheImport) {
    const Favs found = readUt2003Favourites(lines(
        "[XInterface.Browser_ServerListPageFavorites]\n"
        "Favorites=(IP=\"10.0.0.5\",Port=7777,QueryPort=7778)\n"
        "Favorites=(IP=\"10.0.0.6\",Port=abc,QueryPort=7778)\n"
        "Favorites=(IP=\"10.0.0.7\",Port=7777,QueryPort=7778)\n"));
    EXPECT_EQ(found, (Favs{{"10.0.0.5", "7787"}}));
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
}

TEST(FavouritesImport, UtCountIsTheWholeNumberBoundedByTheFile) {
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
    EXPECT_EQ(rowTexts(g), (QStringList{"|10.0.0.1|7787|UT3", "2|10.0.0.2|7787|UT3"}));
    // Present under another game counts; another port does not.
    EXPECT_EQ(addImportedFavourites(g, {{"10.0.0.2", "7787"}, {"10.0.0.2", "7788"}}, "UT"), 1);
    EXPECT_EQ(rowTexts(g).last(), "3|10.0.0.2|7788|UT");
}

TEST(FavouritesImport, BlankFirstRowAboveOthersIsLeftAlone) {
    FlexGrid g = freshGrid();
    appendGridRow(g, {"2", "10.0.0.2", "7787", "UT3"});
    addImportedFavourites(g, {{"10.0.0.9", "7787"}}, "UT2");
    EXPECT_EQ(rowTexts(g), (QStringList{"|||", "2|10.0.0.2|7787|UT3", "3|10.0.0.9|7787|UT2"}));
}

TEST(FavouritesImport, FromTheGameFolderInAnyLetterCase) {
    const GameFolder ut2004("UT2004.ini",
                            "[XInterface.ExtendedConsole]\r\n"
                            "Favorites=(ServerID=0,IP=\"10.0.0.5\",Port=7777,QueryPort=7778,ServerName=\"Caf\xe9\")\r\n"
                            "\r\n[Engine.Engine]\r\n");
    FlexGrid g = freshGrid();
    EXPECT_EQ(ImportFavourites(g, Game::UT2004, ut2004.exe("ut2004.EXE")), 1);
    EXPECT_EQ(rowTexts(g), (QStringList{"|10.0.0.5|7787|UT3"}));
    EXPECT_EQ(ImportFavourites(g, Game::UT2004, ut2004.exe("UT2004.exe")), 0);  // twice adds nothing

    const GameFolder ut("UnrealTournament.ini",
                        "[UBrowser.UBrowserFavoritesFact]\r\nFavoriteCount=1\r\n"
                        "Favorites[0]=A\\10.0.0.7\\7778\\True\r\n");
    EXPECT_EQ(ImportFavourites(g, Game::UT, ut.exe("UnrealTournament.exe")), 1);
    EXPECT_EQ(rowTexts(g).last(), "2|10.0.0.7|7778|UT");

    EXPECT_EQ(ImportFavourites(g, Game::UT2003, ut.exe("ut2003.exe")), 0);  // no ut2003.ini
    EXPECT_EQ(ImportFavourites(g, Game::UT2003, ""), 0);
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
    for (int i = 0; i < 4; ++i) {
        const GameFolder folder("UT2004.ini", cases[i]);
        FlexGrid g = freshGrid();
        EXPECT_EQ(ImportFavourites(g, Game::UT2004, folder.exe("UT2004.exe")), expected[i]) << i;
    }
}
