#include <gtest/gtest.h>

#include "state/FlexGrid.h"
#include "support/GridFiles.h"

// A greyed silent server keeps its colour and picture wherever the sort puts it.
TEST(FlexGrid, SortMovesWholeRowsWithTheirColoursAndPictures) {
    FlexGrid g(1, 2);
    g.appendRow("2\ttwo");
    g.appendRow("1\tone");
    g.setCurrentRow(1);
    g.setCurrentCol(1);
    g.setCellPicture(3);
    g.setCellBackColour(FlexGrid::kSystemHighlight);
    g.setCurrentCol(0);
    g.sort(FlexGrid::SortNumericAscending);
    EXPECT_EQ(gridColumn(g, 1), (QStringList{"one", "two"}));
    EXPECT_EQ(g.cell(2, 1)->picture, 3);
    EXPECT_EQ(g.cell(2, 1)->back, FlexGrid::kSystemHighlight);
}
