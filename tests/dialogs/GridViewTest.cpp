#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTest>

#include "dialogs/GridView.h"

// A server list as the main window designs it: number, name, a hidden column and the ping.
TEST(GridView, ShowsTheGridAndKeepsWhatTheUserSetThroughReplies) {
    FlexGrid g(3, 4);
    const char* headers[] = {"#", "Server", "Hidden", "Ping"};
    const int twips[] = {300, 1500, 0, 450};
    for (int c = 0; c < 4; ++c) {
        g.setCellText(0, c, headers[c]);
        g.setColWidth(c, twips[c]);
    }
    g.setCellText(2, 1, "beta");
    GridView view(g);
    view.setUsualContent(0, {"999<"});
    view.setFillColumn(1);
    QList<QPoint> clicked;
    view.setClickHandler([&] { clicked << QPoint(g.mouseCol(), g.mouseRow()); });
    view.resize(600, 200);
    view.show();
    QApplication::processEvents();
    QAbstractItemModel* m = view.model();
    EXPECT_EQ(m->data(m->index(1, 1)).toString(), "beta");
    EXPECT_TRUE(view.isColumnHidden(2));
    // Designed widths grow to their header and usual content; the fill column takes the rest.
    EXPECT_GT(view.columnWidth(0), QFontMetrics(view.font()).horizontalAdvance("999<"));
    EXPECT_GE(view.columnWidth(3), view.horizontalHeader()->sectionSizeHint(3));
    const int room = view.viewport()->width();

    // The selected row in the system's colours, a silent server's cells in grey, a status picture.
    g.setHighlight(0);
    g.setCurrentRow(2);
    g.setCurrentCol(1);
    g.setCellBackColour(FlexGrid::kSystemHighlight);
    g.setCellForeColour(FlexGrid::kSystemHighlightText);
    EXPECT_EQ(m->data(m->index(1, 1), Qt::BackgroundRole).value<QBrush>(), view.palette().highlight());
    EXPECT_EQ(m->data(m->index(1, 1), Qt::ForegroundRole).value<QBrush>(), view.palette().highlightedText());
    g.setCellForeColour(0x808080);
    EXPECT_EQ(m->data(m->index(1, 1), Qt::ForegroundRole).value<QBrush>().color(), QColor(0x80, 0x80, 0x80));
    g.setCellPicture(3);
    view.setPictureProvider([](int n) { return n == 3 ? QPixmap(4, 4) : QPixmap(); });
    EXPECT_FALSE(m->data(m->index(1, 1), Qt::DecorationRole).value<QPixmap>().isNull());

    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, view.visualRect(m->index(0, 1)).center());
    EXPECT_EQ(g.currentRow(), 1);
    QTest::mousePress(view.horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(view.columnViewportPosition(3) + 5, 5));
    EXPECT_EQ(clicked, (QList<QPoint>{{1, 1}, {3, 0}}));  // column, row: the header is row 0

    view.horizontalHeader()->resizeSection(3, 120);  // the user drags the Ping column
    EXPECT_EQ(view.columnWidth(0) + view.columnWidth(1) + view.columnWidth(3), room);
    // A reply: rows added, cells written, the same design set again.
    g.appendRow("3\tgamma\t\t42");
    g.setCellText(1, 3, "17");
    g.setColWidth(3, 450);
    EXPECT_EQ(view.columnWidth(3), 120);
    EXPECT_EQ(m->rowCount(), 3);
    EXPECT_EQ(m->data(m->index(0, 3)).toString(), "17");
    // A new design for the column replaces the drag; a width shows a hidden column.
    g.setColWidth(3, 900);
    EXPECT_EQ(view.columnWidth(3), 60);
    g.setColWidth(2, 600);
    EXPECT_FALSE(view.isColumnHidden(2));
}
