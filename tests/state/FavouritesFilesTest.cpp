#include <gtest/gtest.h>

#include "query/MainGrids.h"
#include "state/FavouritesFiles.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

// Lines that are no favourites stay where they are; a favourite keeps its line as written, comment and code.
TEST(ServersFile, UnknownLinesCommentsAndCodesStayAsWrittenAlsoWhenSorted) {
    TempProgramFolder folder;
    const QByteArray before =
        "; my clan\r\n10.0.0.9\r\n::\r\n\r\n10.0.0.1:7778:UT:My comment\r\n10.0.0.2:7777:UT3\n";
    folder.write("servers.ini", before);
    LoadedMainWindow l;
    FlexGrid& g = l.s.serverGrid;
    EXPECT_EQ(gridColumn(g, 2), (QStringList{"10.0.0.9", "10.0.0.1", "10.0.0.2"}));
    g.setCellText(2, 7, "ut");  // as a UT reply rewrites it
    ASSERT_TRUE(saveSortedServerList(l.s));
    EXPECT_EQ(folder.read("servers.ini"), before);
    for (int c : {2, 3, 7}) {  // sorted: the first and the last exchange places
        const QString first = g.cellText(1, c);
        g.setCellText(1, c, g.cellText(3, c));
        g.setCellText(3, c, first);
    }
    ASSERT_TRUE(saveSortedServerList(l.s));
    EXPECT_EQ(folder.read("servers.ini"),
              "; my clan\r\n10.0.0.2:7777:UT3\r\n::\r\n\r\n10.0.0.1:7778:UT:My comment\r\n10.0.0.9\r\n");
}

TEST(BuddiesFile, SkipsLeadingEmptyLinesAndDropsTheLastEmptyRow) {
    TempProgramFolder folder;
    folder.write("buddies.ini", "\r\nBob\r\n\r\n[XYZ]**\r\n\r\n");
    EXPECT_EQ(gridColumn(LoadedMainWindow().s.buddyGrid, 0), (QStringList{"Bob", "", "[XYZ]**"}));
    folder.write("buddies.ini", "\r\n\r\n\r\n");
    EXPECT_EQ(gridColumn(LoadedMainWindow().s.buddyGrid, 0), QStringList{""});
}

// Favourites added from the "Find Servers" window: the file keeps every byte, the grid shows them at once.
TEST(AddFavourites, AppendedByteForByteOnceEachAndShownInTheGrid) {
    TempProgramFolder folder;
    const QByteArray before = "10.0.0.1:7778:UT3\r\n\r\n10.0.0.2:7778:ut\r\nN\xe9on:7778:UT\r\n";
    folder.write("servers.ini", before);
    LoadedMainWindow l;
    const FlexGrid& g = l.s.serverGrid;
    ASSERT_EQ(g.rowCount(), 4);
    l.s.serverGrid.setCurrentCol(1);  // sorted by name: the last row is number 1, new ones still 4 and 5
    l.s.serverGrid.setSelectionEndCol(1);
    l.s.serverGrid.sort(FlexGrid::SortStringDescending);
    const FavouriteLine ut5{"127.0.0.5", "7778", "UT"}, ut6{"127.0.0.6", "7788", "UT"},
        there{"10.0.0.2", " 7778", "UT"};
    // Each once, none already there (" 7778" is 7778), none without an address.
    EXPECT_EQ(appendFavourites(l.s, {ut5, there, ut6, ut5, {"  ", "7790", "UT"}}).count, 2);
    EXPECT_EQ(folder.read("servers.ini"), before + "127.0.0.5:7778:UT\r\n127.0.0.6:7788:UT\r\n");
    ASSERT_EQ(g.rowCount(), 6);
    EXPECT_EQ((QStringList{g.cellText(5, 0), g.cellText(5, 2), g.cellText(5, 3), g.cellText(5, 9)}),
              (QStringList{"5", "127.0.0.6", "7788", "UT"}));

    TempProgramFolder empty;
    LoadedMainWindow fresh;
    ASSERT_EQ(appendFavourites(fresh.s, {ut5}).count, 1);
    EXPECT_EQ(gridColumn(fresh.s.serverGrid, 0), QStringList{"1"});  // the empty list's row is filled
    EXPECT_EQ(empty.read("servers.ini"), "127.0.0.5:7778:UT\r\n");
}
