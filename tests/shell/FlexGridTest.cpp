#include <gtest/gtest.h>

#include "shell/FlexGrid.h"

TEST(FlexGrid, AddItemSplitsAtTabs) {
    FlexGrid g(2, 3);
    g.AddItem("a\tb\tc\td");
    ASSERT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(2, 0), "a");
    EXPECT_EQ(g.TextMatrix(2, 2), "c");
}
