#pragma once
#include <QRect>

#include "history/HistoryTypes.h"
#include "history/PointedPicture.h"

class QFontMetrics;
class QPainter;

// What a week strip shows for each hour of the week: a server's usual players (hours never
// heard are unknown), or how often a buddy was seen then (hoursHeard; every hour is known).
struct WeekStripData {
    enum class Kind { UsualPlayers, HoursSeen };
    UsualWeek week;
    Kind kind = Kind::UsualPlayers;
    int currentHour = -1;  // outlined; -1 for none
    QString emptyText = QStringLiteral("No history yet");  // a server's strip with no hour known

    bool known(int hour) const { return kind == Kind::HoursSeen || week.known(hour); }
    double value(int hour) const;
    double busiest() const;
    bool anyKnown() const;  // the strip's own top of the colour scale
};

// Where the cells go in a rectangle: a column of day names, a row of hours, then 7 rows
// (Monday first) of 24 cells.
class WeekStripLayout {
public:
    WeekStripLayout(const QRect& rect, const QFontMetrics& metrics);
    QRect grid() const { return grid_; }
    QRect cell(int hourOfWeek) const;
    int hourAt(const QPoint& pos) const;  // -1 outside the cells

private:
    QRect grid_;
};

// The colour of an hour: from the base colour when empty to the highlight at the busiest.
QColor weekStripColour(const WeekStripData& data, int hour, const QPalette& palette);
void paintWeekStrip(QPainter& painter, const QRect& rect, const WeekStripData& data, const QPalette& palette);
// "Tuesday 20:00 – usually 7 players", or for a buddy "Tuesday 20:00 – seen in 3 hours".
QString weekStripToolTip(const WeekStripData& data, int hour);

// Players by hour of the week in local time, as coloured cells.
class WeekStrip : public PointedPicture {
    Q_OBJECT
public:
    explicit WeekStrip(QWidget* parent = nullptr);
    void setData(const WeekStripData& data);
    const WeekStripData& data() const { return data_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    QString toolTipAt(const QPoint& pos) const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void changeEvent(QEvent* event) override;

private:
    WeekStripData data_;
};
