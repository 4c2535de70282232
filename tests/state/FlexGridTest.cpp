#include <gtest/gtest.h>

#include "state/FlexGrid.h"
#include "support/GridFiles.h"

// A greyed silent server keeps its colour and picture wherever the sort puts it.
TEST(FlexGrid, SortMovesWholeRowsWithTheirColoursAndPictures) {
    FlexGrid g(1, 2);
    g.AddItem("2\ttwo");
    g.AddItem("1\tone");
    g.setRow(1);
    g.setCol(1);
    g.setCellPicture(3);
    g.setCellBackColor(FlexGrid::kSystemHighlight);
    g.setCol(0);
    g.Sort(FlexGrid::SortNumericAscending);
    EXPECT_EQ(gridColumn(g, 1), (QStringList{"one", "two"}));
    EXPECT_EQ(g.cell(2, 1)->picture, 3);
    EXPECT_EQ(g.cell(2, 1)->back, FlexGrid::kSystemHighlight);
}
