#pragma once
#include <QList>
#include <QRect>

#include "history/HistoryTypes.h"
#include "history/PointedPicture.h"

class QFontMetrics;
class QPainter;

// What one players picture shows: a server's points between from and to (seconds).
struct PlayersSeries {
    QList<PlayerPoint> points;  // oldest first
    qint64 from = 0;
    qint64 to = 0;
    QString emptyText = QStringLiteral("No history yet");  // shown without points
};

// A stretch of time at one count: a point holds until the next one, unless the next comes
// so late that the server was not heard in between; then it holds for the usual spacing.
struct PlayerStep {
    qint64 start = 0;
    qint64 end = 0;
    int players = 0;
    int maxPlayers = 0;
    qint64 time = 0;  // of the point it comes from
};
// The steps within [from, to]; a step whose start is not the end of the one before
// follows a gap.
QList<PlayerStep> playerSteps(const PlayersSeries& series);

// Where things go when a series is painted into a rectangle: the plot inside the axes'
// labels, and the scales both ways (players from 0 at the bottom to top() at the top).
class PlayersChartScale {
public:
    PlayersChartScale(const PlayersSeries& series, const QRect& rect, const QFontMetrics& metrics);
    QRect plot() const { return plot_; }
    int top() const { return top_; }
    double xOf(qint64 time) const;
    double yOf(double players) const;
    qint64 timeAt(double x) const;
    QList<int> playerTicks() const;

private:
    QRect plot_;
    qint64 from_ = 0, to_ = 1;
    int top_ = 1;
    int labelHeight_ = 0;
};

// Paints the series into rect with the painter's font; "No history yet" when it has no point.
void paintPlayersChart(QPainter& painter, const QRect& rect, const PlayersSeries& series,
                       const QPalette& palette);
// What hovering at x names: the time of the point under it and its players.
QString playersChartToolTip(const PlayersSeries& series, const PlayersChartScale& scale, int x);

// The players of one server over a time range, as a filled line over the announced maximum.
class PlayersChart : public PointedPicture {
    Q_OBJECT
public:
    explicit PlayersChart(QWidget* parent = nullptr);
    void setSeries(const PlayersSeries& series);
    const PlayersSeries& series() const { return series_; }
    QSize sizeHint() const override { return {300, 120}; }
    QSize minimumSizeHint() const override { return {160, 60}; }
    QString toolTipAt(const QPoint& pos) const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    PlayersSeries series_;
};
