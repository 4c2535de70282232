#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
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

TEST(GridView, DesignedWidthsFitTheirHeaderAndUsualContent) {
    FlexGrid g(2, 3);
    g.setTextMatrix(0, 0, "#");
    g.setTextMatrix(0, 1, "Game Type");
    g.setTextMatrix(0, 2, "Q. Port");
    g.setColWidth(0, 350);
    g.setColWidth(1, 1000);
    g.setColWidth(2, 300);
    GridView view(g);
    view.setUsualContent(0, {"999<"});
    view.setUsualContent(1, {"Xdeathmatch", "CTF"});
    view.setUsualContent(2, {"99999"});
    const QFontMetrics fm(view.font());
    for (int c = 0; c < 3; ++c) {
        const QString usual = c == 0 ? "999<" : c == 1 ? "Xdeathmatch" : "99999";
        EXPECT_GT(view.columnWidth(c), fm.horizontalAdvance(usual)) << c;
        EXPECT_GE(view.columnWidth(c), view.horizontalHeader()->sectionSizeHint(c)) << c;
    }
}

TEST(GridView, DraggedWidthStaysThroughRepliesAndTheFillColumnTakesTheRest) {
    FlexGrid g = sampleGrid();
    g.setCols(4);
    g.setTextMatrix(0, 3, "Ping");
    g.setColWidth(3, 450);
    GridView view(g);
    view.setFillColumn(1);
    view.resize(600, 200);
    view.show();
    QApplication::processEvents();
    const int room = view.viewport()->width();
    EXPECT_EQ(view.columnWidth(0) + view.columnWidth(1) + view.columnWidth(3), room);

    view.horizontalHeader()->resizeSection(3, 120);  // the user drags the Ping column
    EXPECT_EQ(view.columnWidth(0) + view.columnWidth(1) + view.columnWidth(3), room);
    // A reply: rows added, cells written, the same design set again.
    g.AddItem("3\tgamma\t\t42");
    g.setTextMatrix(1, 3, "17");
    g.setColWidth(3, 450);
    EXPECT_EQ(view.columnWidth(3), 120);
    EXPECT_EQ(view.model()->rowCount(), 3);
    EXPECT_EQ(view.model()->data(view.model()->index(0, 3)).toString(), "17");
    // A new design for the column replaces the drag; a width shows a hidden column.
    g.setColWidth(3, 900);
    EXPECT_EQ(view.columnWidth(3), 60);
    g.setColWidth(2, 600);
    EXPECT_FALSE(view.isColumnHidden(2));
}
