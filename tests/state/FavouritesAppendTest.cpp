// Favourites added from outside the settings dialog (the "Find Servers" window): the
// file keeps every byte it had, the main grid shows the new rows at once.
#include <gtest/gtest.h>

#include "query/MainGrids.h"
#include "state/FavouritesFiles.h"
#include "support/TestSupport.h"

TEST(AddFavourites, AppendedToTheFileByteForByteAndToTheGrid) {
    TempProgramFolder folder;
    const QByteArray before = "10.0.0.1:7778:UT3\r\n\r\n10.0.0.2:7778:ut\r\nN\xe9on:7778:UT\r\n";
    folder.write("servers.ini", before);
    MainState s;
    SetupServerGrid(s);
    LoadServerList(s);
    ASSERT_EQ(s.ServerGrid.Rows(), 4);
    const FavouritesAdded added = appendFavourites(s, {{"127.0.0.5", "7778", "UT"}, {"10.0.0.2", "7778", "UT"},
                                            {"127.0.0.6", "7788", "UT"}, {"127.0.0.5", "7778", "UT"}});
    ASSERT_EQ(added.count, 2);  // 10.0.0.2:7778 is there already, 127.0.0.5 was asked twice
    EXPECT_EQ(folder.read("servers.ini"), before + "127.0.0.5:7778:UT\r\n127.0.0.6:7788:UT\r\n");
    ASSERT_EQ(s.ServerGrid.Rows(), 6);
    EXPECT_EQ(s.ServerGrid.TextMatrix(4, 0), "4");
    EXPECT_EQ(s.ServerGrid.TextMatrix(5, 2), "127.0.0.6");
    EXPECT_EQ(s.ServerGrid.TextMatrix(5, 3), "7788");
    EXPECT_EQ(s.ServerGrid.TextMatrix(5, 9), "UT");
    EXPECT_EQ(appendFavourites(s, {{"127.0.0.5", "7778", "UT"}}).count, 0);
    EXPECT_EQ(folder.read("servers.ini"), before + "127.0.0.5:7778:UT\r\n127.0.0.6:7788:UT\r\n");
}

TEST(AddFavourites, FirstFavouriteFillsTheEmptyListsRow) {
    TempProgramFolder folder;
    MainState s;
    SetupServerGrid(s);
    LoadServerList(s);
    ASSERT_EQ(appendFavourites(s, {{"127.0.0.5", "7778", "UT"}}).count, 1);
    EXPECT_EQ(s.ServerGrid.Rows(), 2);
    EXPECT_EQ(s.ServerGrid.TextMatrix(1, 0), "1");
    EXPECT_EQ(folder.read("servers.ini"), "127.0.0.5:7778:UT\r\n");
}

TEST(AddFavourites, AFileThatCannotBeWrittenChangesNothing) {
    TempProgramFolder folder;
    folder.write("servers.ini", "10.0.0.1:7778:UT\r\n");
    MainState s;
    SetupServerGrid(s);
    LoadServerList(s);
    {
        FileSizeLimit full(8);
        const FavouritesAdded added = appendFavourites(s, {{"127.0.0.5", "7778", "UT"}});
        EXPECT_EQ(added.count, 0);
        EXPECT_TRUE(added.failure.contains("servers.ini")) << added.failure.toStdString();
    }
    EXPECT_EQ(folder.read("servers.ini"), "10.0.0.1:7778:UT\r\n");
    EXPECT_EQ(s.ServerGrid.Rows(), 2);
}
