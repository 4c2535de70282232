#pragma once
#include <QWidget>

#include "history/HistoryTypes.h"

class PlayersChart;
class QTabBar;
class WeekStrip;

// The selected server's history for the main window's panel: its players over the last
// 24 hours or 7 days (one tab each) over its usual week.
class ServerHistoryView : public QWidget {
    Q_OBJECT
public:
    enum Range { LastDay = 0, LastWeek = 1 };

    explicit ServerHistoryView(QWidget* parent = nullptr);
    // now: wall-clock seconds, the right edge of the charts and the hour outlined.
    void setHistory(const ServerHistory& history, qint64 now);
    // No history to show: every picture says why.
    void clear(const QString& why = QStringLiteral("No history yet"));
    void showRange(Range range);
    Range range() const;

    PlayersChart* chart() const { return chart_; }
    WeekStrip* weekStrip() const { return strip_; }

private:
    QTabBar* tabs_;
    PlayersChart* chart_;
    WeekStrip* strip_;
    ServerHistory history_;
    qint64 now_ = 0;
};
