#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

#include "history/BuddyHistoryDialog.h"
#include "history/PlayersChart.h"
#include "history/ServerHistoryView.h"
#include "history/WeekStrip.h"

namespace {
// 1 December 2026 is a Tuesday; times are local, as the pictures show them.
qint64 tuesday(int hour, int minute = 0) {
    return QDateTime(QDate(2026, 12, 1), QTime(hour, minute)).toSecsSinceEpoch();
}

template <typename Paint>
QImage rendered(QSize size, Paint paint) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    paint(painter, image.rect());
    return image;
}

bool isPlayersFill(QRgb c) { return qBlue(c) > qRed(c) + 40 && qGreen(c) > qRed(c); }
}  // namespace

TEST(PlayersChart, EachCountAtItsHeightAndAGapLeftEmpty) {
    PlayersSeries day{{}, tuesday(0), tuesday(0) + 24 * 3600};
    const struct { int fromHour, toHour, players; } stretches[] = {{0, 6, 4}, {6, 12, 12}, {18, 24, 8}};
    for (const auto& s : stretches)
        for (qint64 t = tuesday(s.fromHour); t < tuesday(0) + s.toHour * 3600; t += 60)
            day.points.append({t, s.players, 16});
    const QImage image = rendered(
        {400, 200}, [&](QPainter& p, QRect r) { paintPlayersChart(p, r, day, QApplication::palette()); });
    const PlayersChartScale scale(day, image.rect(), QFontMetrics(QApplication::font()));
    // A linear scale from 0 at the bottom to the announced maximum at the top.
    EXPECT_NEAR(scale.yOf(0), scale.plot().bottom(), 1.0);
    EXPECT_NEAR(scale.yOf(16), scale.plot().top(), 5.0);
    EXPECT_NEAR(2 * scale.yOf(8), scale.yOf(0) + scale.yOf(16), 1.0);
    EXPECT_NEAR(scale.xOf(tuesday(12)), scale.plot().center().x(), 1.0);
    const struct { int hour, players; } rows[] = {{3, 4}, {9, 12}, {21, 8}, {15, -1}};  // -1: the gap
    for (const auto& row : rows) {
        const int x = int(scale.xOf(tuesday(row.hour)));
        int top = -1;
        for (int y = scale.plot().top(); y <= scale.plot().bottom() && top < 0; ++y)
            if (isPlayersFill(image.pixel(x, y))) top = y;
        if (row.players < 0) EXPECT_EQ(top, -1) << row.hour;
        else EXPECT_NEAR(top, scale.yOf(row.players), 2.0) << row.hour;
    }

    // Points a minute apart: one two minutes after the last is joined to it, one four after follows a gap.
    const PlayersSeries holes{
        {{0, 1, 0}, {60, 1, 0}, {120, 2, 0}, {240, 3, 0}, {480, 4, 0}, {540, 4, 0}}, 0, 600};
    QList<qint64> ends;
    for (const PlayerStep& step : playerSteps(holes)) ends << step.end;
    EXPECT_EQ(ends, QList<qint64>({60, 120, 240, 300, 540, 600}));

    const QImage empty = rendered(
        {400, 200}, [&](QPainter& p, QRect r) { paintPlayersChart(p, r, {}, QApplication::palette()); });
    int dark = 0;
    for (int x = 150; x < 250; ++x)
        dark += qGray(empty.pixel(x, 95)) < 200 || qGray(empty.pixel(x, 100)) < 200;
    EXPECT_GT(dark, 5);  // "No history yet" in the middle
}

TEST(PlayersChart, ToolTipNamesThePointUnderThePointer) {
    PlayersChart chart;
    chart.resize(400, 200);
    PlayersSeries week{{}, tuesday(0), tuesday(0) + 7 * 24 * 3600};
    for (int h = 0; h < 24; ++h) week.points.append({tuesday(h), h == 20 ? 7 : 1, h == 20 ? 16 : 0});
    chart.setSeries(week);
    const PlayersChartScale scale(week, chart.rect(), chart.fontMetrics());
    const auto at = [&](qint64 t) { return chart.toolTipAt(QPoint(int(scale.xOf(t)), 50)); };
    EXPECT_EQ(at(tuesday(20, 30)), QStringLiteral("Tuesday 20:00 – 7 of 16 players"));
    EXPECT_EQ(at(tuesday(21, 30)), QStringLiteral("Tuesday 21:00 – 1 player"));
    EXPECT_TRUE(at(tuesday(0) + 3 * 24 * 3600).endsWith(QStringLiteral(" – not heard")));
}

TEST(WeekStrip, ColoursTheHoursAndOutlinesTheCurrentOne) {
    WeekStripData data;
    const int zero = 1, busiest = 2, alsoBusiest = 3, half = 4, unknown = 5;
    for (auto [hour, players] : {std::pair{zero, 0.0}, {busiest, 10.0}, {alsoBusiest, 10.0}, {half, 5.0}}) {
        data.week.players[size_t(hour)] = players;
        data.week.hoursHeard[size_t(hour)] = 2;
    }
    data.currentHour = 30;
    const QPalette palette = QApplication::palette();
    const QImage image =
        rendered({400, 160}, [&](QPainter& p, QRect r) { paintWeekStrip(p, r, data, palette); });
    const WeekStripLayout layout(image.rect(), QFontMetrics(QApplication::font()));
    const auto colour = [&](int hour) { return QColor(image.pixel(layout.cell(hour).center())); };
    EXPECT_EQ(colour(zero), palette.color(QPalette::Base));
    EXPECT_NE(colour(unknown), colour(zero));
    EXPECT_EQ(colour(busiest), palette.color(QPalette::Highlight));
    EXPECT_EQ(colour(alsoBusiest), colour(busiest));
    EXPECT_GT(colour(half).red(), colour(busiest).red());  // lighter than the busiest
    EXPECT_LT(colour(half).red(), colour(zero).red());
    const auto topEdge = [&](int hour) {
        return QColor(image.pixel(layout.cell(hour).center().x(), layout.cell(hour).top()));
    };
    EXPECT_EQ(topEdge(30), palette.color(QPalette::Text));
    EXPECT_NE(topEdge(31), palette.color(QPalette::Text));
}

TEST(WeekStrip, ToolTipsSayHowBusyOrHowOftenSeen) {
    const int tuesday20 = 24 + 20;
    const struct {
        WeekStripData::Kind kind;
        int hour;
        double players;
        int heard;
        const char* text;
    } rows[] = {
        {WeekStripData::Kind::UsualPlayers, tuesday20, 6.6, 4, "Tuesday 20:00 – usually 7 players"},
        {WeekStripData::Kind::UsualPlayers, tuesday20 + 1, 1, 1, "Tuesday 21:00 – usually 1 player"},
        {WeekStripData::Kind::UsualPlayers, tuesday20 + 2, 0, 1, "Tuesday 22:00 – usually empty"},
        {WeekStripData::Kind::UsualPlayers, 167, 3, 0, "Sunday 23:00 – not heard yet"},
        {WeekStripData::Kind::HoursSeen, 0, 0, 3, "Monday 00:00 – seen in 3 hours"},
        {WeekStripData::Kind::HoursSeen, 1, 0, 1, "Monday 01:00 – seen in 1 hour"},
        {WeekStripData::Kind::HoursSeen, 2, 0, 0, "Monday 02:00 – not seen"},
    };
    WeekStrip strip;
    strip.resize(400, 160);
    for (const auto& row : rows) {
        WeekStripData data{{}, row.kind, -1};
        data.week.players[size_t(row.hour)] = row.players;
        data.week.hoursHeard[size_t(row.hour)] = row.heard;
        strip.setData(data);
        const QPoint centre = WeekStripLayout(strip.rect(), strip.fontMetrics()).cell(row.hour).center();
        EXPECT_EQ(strip.toolTipAt(centre), QString::fromUtf8(row.text));
    }
}

TEST(ServerHistoryView, EachTabItsRangeAndClearEmptiesAll) {
    ServerHistoryView view;
    ServerHistory history;
    history.lastDay = {{tuesday(20), 5, 16}};
    history.lastWeek = {{tuesday(19), 9, 16}};
    history.usualWeek.hoursHeard[44] = 1;
    view.setHistory(history, tuesday(20, 30));
    EXPECT_EQ(view.chart()->series().points, history.lastDay);
    EXPECT_EQ(view.chart()->series().from, tuesday(20, 30) - 24 * 3600);
    EXPECT_EQ(view.weekStrip()->data().currentHour, 44);
    view.showRange(ServerHistoryView::LastWeek);
    EXPECT_EQ(view.chart()->series().points, history.lastWeek);
    EXPECT_EQ(view.chart()->series().from, tuesday(20, 30) - 7 * 24 * 3600);
    view.clear();
    EXPECT_TRUE(view.chart()->series().points.isEmpty());
    EXPECT_FALSE(view.weekStrip()->data().anyKnown());
}

TEST(BuddyHistoryDialog, ListsTheServersOrSaysNotSeenYet) {
    BuddyHistoryDialog dialog;
    BuddyHistory history;
    history.servers = {{{QStringLiteral("127.0.0.2"), 7778, QStringLiteral("UT2")},
                        QStringLiteral("<b>Onslaught</b>"),
                        12,
                        tuesday(20)}};
    history.hours.hoursHeard[44] = 12;
    dialog.setHistory(QStringLiteral("Bob"), history);
    ASSERT_EQ(dialog.servers()->topLevelItemCount(), 1);
    const QTreeWidgetItem* row = dialog.servers()->topLevelItem(0);
    EXPECT_EQ(QStringList({row->text(0), row->text(1), row->text(2)}),
              QStringList({"<b>Onslaught</b>", "127.0.0.2:7778", "12"}));
    EXPECT_EQ(dialog.weekStrip()->data().kind, WeekStripData::Kind::HoursSeen);
    dialog.setHistory(QStringLiteral("<i>Alice</i>"), {});
    EXPECT_EQ(dialog.summary()->text(), QStringLiteral("<i>Alice</i> has not been seen yet"));
    EXPECT_EQ(dialog.summary()->textFormat(), Qt::PlainText);
    EXPECT_EQ(dialog.servers()->topLevelItemCount(), 0);
    dialog.show();
    dialog.findChild<QPushButton*>(QStringLiteral("closeButton"))->click();
    EXPECT_FALSE(dialog.isVisible());
}
