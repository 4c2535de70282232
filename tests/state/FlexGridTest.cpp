#include <gtest/gtest.h>

#include "state/FlexGrid.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

namespace {
FlexGrid gridWithColumn(const QStringList& values, int cols = 2) {
    FlexGrid g(1, cols);
    for (const QString& v : values) g.AddItem(v);
    return g;
}
}  // namespace

TEST(FlexGrid, RemoveItemRefusesTheLastDataRowAndHeader) {
    FlexGrid g = gridWithColumn({"a", "b", "c"});
    EXPECT_FALSE(g.RemoveItem(0));
    EXPECT_TRUE(g.RemoveItem(2));
    EXPECT_EQ(gridColumn(g, 0), (QStringList{"a", "c"}));
    EXPECT_TRUE(g.RemoveItem(1));
    EXPECT_FALSE(g.RemoveItem(1));
    EXPECT_EQ(gridColumn(g, 0), QStringList{"c"});
    EXPECT_FALSE(g.RemoveItem(5));
}

TEST(FlexGrid, SortModesByCurrentColumn) {
    struct Case { int mode; QStringList in, out; };
    const Case cases[] = {
        {FlexGrid::SortNumericAscending, {"10", "9", "255", "0"}, {"0", "9", "10", "255"}},
        {FlexGrid::SortNumericDescending, {"10", "9", " 255", "-1"}, {" 255", "10", "9", "-1"}},
        {FlexGrid::SortStringAscending, {"b", "B", "a", "A"}, {"A", "B", "a", "b"}},
        {FlexGrid::SortStringDescending, {"09/16", "10/16", "03/08"}, {"10/16", "09/16", "03/08"}},
        {5, {"b", "a"}, {"b", "a"}},  // not a sort mode: nothing moves
    };
    for (const Case& c : cases) {
        FlexGrid g = gridWithColumn(c.in);
        g.setCol(0);
        g.Sort(c.mode);
        EXPECT_EQ(gridColumn(g, 0), c.out) << "mode " << c.mode;
    }
}

TEST(FlexGrid, SortMovesWholeRowsWithTheirColoursAndPictures) {
    FlexGrid g = gridWithColumn({"2\ttwo", "1\tone"});
    g.setRow(1);
    g.setCol(1);
    g.setCellPicture(3);
    g.setCellBackColor(FlexGrid::kSystemHighlight);
    g.setCol(0);
    g.Sort(FlexGrid::SortNumericAscending);
    EXPECT_EQ(gridColumn(g, 1), (QStringList{"one", "two"}));
    EXPECT_EQ(g.cell(2, 1)->picture, 3);
    EXPECT_EQ(g.cell(2, 1)->back, FlexGrid::kSystemHighlight);
    EXPECT_EQ(g.TextMatrix(0, 0), "");  // header stays
}
