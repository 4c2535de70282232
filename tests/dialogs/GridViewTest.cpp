#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>

#include "dialogs/GridView.h"

namespace {
FlexGrid sampleGrid() {
    FlexGrid g(3, 3);
    g.setTextMatrix(0, 0, "#");
    g.setTextMatrix(0, 1, "Server");
    g.setTextMatrix(0, 2, "Hidden");
    g.setTextMatrix(1, 1, "alpha");
    g.setTextMatrix(2, 1, "beta");
    g.setColWidth(0, 300);
    g.setColWidth(1, 1500);
    g.setColWidth(2, 0);
    g.setColAlignment(0, FlexGrid::AlignCenterCenter);
    return g;
}

void press(QWidget* target, QPoint at) {
    QMouseEvent down(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &down);
}
}  // namespace

TEST(GridView, ShowsHeadersWidthsAlignmentAndColours) {
    FlexGrid g = sampleGrid();
    GridView view(g);
    QAbstractItemModel* m = view.model();
    EXPECT_EQ(m->rowCount(), 2);
    EXPECT_EQ(m->headerData(1, Qt::Horizontal).toString(), "Server");
    EXPECT_EQ(m->data(m->index(1, 1)).toString(), "beta");
    EXPECT_EQ(view.columnWidth(0), 20);
    EXPECT_EQ(view.columnWidth(1), 100);
    EXPECT_TRUE(view.isColumnHidden(2));
    EXPECT_EQ(m->data(m->index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);

    g.setHighLight(0);
    g.setRow(2);
    g.setCol(1);
    g.setCellBackColor(FlexGrid::kSystemHighlight);
    g.setCellForeColor(FlexGrid::kSystemHighlightText);
    EXPECT_EQ(m->data(m->index(1, 1), Qt::BackgroundRole).value<QBrush>(), view.palette().highlight());
    EXPECT_EQ(m->data(m->index(1, 1), Qt::ForegroundRole).value<QBrush>(), view.palette().highlightedText());
    g.setCellBackColor(0x102030);
    EXPECT_EQ(m->data(m->index(1, 1), Qt::BackgroundRole).value<QBrush>().color(), QColor(0x10, 0x20, 0x30));

    g.setCellPicture(3);
    view.setPictureProvider([](int n) { return n == 3 ? QPixmap(4, 4) : QPixmap(); });
    EXPECT_FALSE(m->data(m->index(1, 1), Qt::DecorationRole).value<QPixmap>().isNull());
}

TEST(GridView, FollowsTheGridsChanges) {
    FlexGrid g = sampleGrid();
    GridView view(g);
    g.AddItem("3\tgamma");
    EXPECT_EQ(view.model()->rowCount(), 3);
    g.setColWidth(2, 600);
    EXPECT_FALSE(view.isColumnHidden(2));
    g.setTextMatrix(1, 1, "changed");
    EXPECT_EQ(view.model()->data(view.model()->index(0, 1)).toString(), "changed");
}

TEST(GridView, PressSetsMouseCellAndCallsTheClickHandler) {
    FlexGrid g = sampleGrid();
    GridView view(g);
    view.resize(300, 200);
    view.show();
    int clicks = 0;
    view.setClickHandler([&] { ++clicks; });
    press(view.viewport(), view.visualRect(view.model()->index(1, 1)).center());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(g.MouseRow(), 2);
    EXPECT_EQ(g.MouseCol(), 1);
    EXPECT_EQ(g.Row(), 2);
    press(view.horizontalHeader()->viewport(), QPoint(view.columnViewportPosition(1) + 5, 5));
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(g.MouseRow(), 0);
    EXPECT_EQ(g.MouseCol(), 1);
}
