#include <gtest/gtest.h>

#include "query/MainGrids.h"
#include "state/FavouritesFiles.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

namespace {
}  // namespace

TEST(ServersFile, SaveSortedWritesTheGridOrderFromTheHiddenColumns) {
    TempProgramFolder folder;
    folder.write("servers.ini", "10.0.0.1:7778:UT3\r\n10.0.0.2:7778:ut\r\n10.0.0.3:7788:UT2\r\n");
    LoadedMainWindow l;
    FlexGrid& g = l.s.ServerGrid;
    g.setTextMatrix(1, 1, "Zulu server");  // a name from a reply is never stored
    g.setTextMatrix(2, 1, "Alpha");
    g.setTextMatrix(3, 1, "Mike");
    SortServerGrid(l.s, 1);
    EXPECT_EQ(gridColumn(g, 0), (QStringList{"1", "2", "3"}));
    ASSERT_TRUE(SaveSortedServerList(l.s));
    EXPECT_EQ(folder.read("servers.ini"), "10.0.0.2:7778:ut\r\n10.0.0.3:7788:UT2\r\n10.0.0.1:7778:UT3\r\n");
}

TEST(ServersFile, ShortLinesLoadAndRowsWithoutAnAddressAreNeverStored) {
    TempProgramFolder folder;
    {
        LoadedMainWindow l;  // no file: one empty row
        EXPECT_EQ(l.s.ServerGrid.Rows(), 2);
        l.s.ServerGrid.setTextMatrix(1, 0, "1");  // the first scan tick marks the empty row
        EXPECT_TRUE(SaveSortedServerList(l.s));
        EXPECT_EQ(folder.read("servers.ini"), "");
    }
    folder.write("servers.ini", "10.0.0.9\r\n::\r\n:7778:UT\r\n10.0.0.1:7778\r\n");
    LoadedMainWindow l;
    EXPECT_EQ(gridColumn(l.s.ServerGrid, 0), (QStringList{"1", "2"}));
    EXPECT_EQ(gridColumn(l.s.ServerGrid, 2), (QStringList{"10.0.0.9", "10.0.0.1"}));
    ASSERT_TRUE(SaveSortedServerList(l.s));
    // Short lines are kept, their missing fields empty.
    EXPECT_EQ(folder.read("servers.ini"), "10.0.0.9::\r\n10.0.0.1:7778:\r\n");
}

TEST(BuddiesFile, SkipsLeadingEmptyLinesAndDropsTheLastEmptyRow) {
    TempProgramFolder folder;
    folder.write("buddies.ini", "\r\nBob\r\n\r\n[XYZ]**\r\n\r\n");
    LoadedMainWindow l;
    EXPECT_EQ(gridColumn(l.s.BudList, 0), (QStringList{"Bob", "", "[XYZ]**"}));

    folder.write("buddies.ini", "\r\n\r\n\r\n");
    LoadedMainWindow empty;
    EXPECT_EQ(empty.s.BudList.Rows(), 2);
    EXPECT_EQ(empty.s.BudList.TextMatrix(1, 0), "");
}
