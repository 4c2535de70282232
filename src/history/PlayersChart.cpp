#include "history/PlayersChart.h"

#include <QDateTime>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "history/HistoryText.h"

namespace {
constexpr qint64 kHour = 3600;
constexpr qint64 kDay = 24 * kHour;
// A point is not followed by a line to the next one that comes later than this many
// times the usual spacing: the server was not heard in between.
constexpr qint64 kGapTimesSpacing = 3;
constexpr int kHeadroom = 4;

bool showsDays(const PlayersSeries& s) { return s.to - s.from > 2 * kDay; }

// The usual time between points: the median of the spacings, or a guess for one point.
qint64 usualSpacing(const PlayersSeries& s) {
    QList<qint64> spacings;
    for (qsizetype i = 1; i < s.points.size(); ++i) {
        const qint64 d = s.points[i].time - s.points[i - 1].time;
        if (d > 0) spacings << d;
    }
    if (spacings.isEmpty()) return showsDays(s) ? kHour : 5 * 60;
    std::nth_element(spacings.begin(), spacings.begin() + spacings.size() / 2, spacings.end());
    return spacings[spacings.size() / 2];
}

// Integer ticks 0, n, 2n, ... up to top, no more than about four of them.
int tickStep(int top) {
    for (int step : {1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500})
        if (top / step <= 4) return step;
    return std::max(1, top / 4);
}

struct TimeTick {
    qint64 time;
    QString label;
    qint64 labelEnd;  // days: the label is centred between time and labelEnd
};

// Local hour boundaries every few hours, or local midnights with the day's name.
QList<TimeTick> timeTicks(const PlayersSeries& s, int plotWidth, int labelWidth) {
    QList<TimeTick> ticks;
    if (s.to <= s.from) return ticks;
    QDateTime t = QDateTime::fromSecsSinceEpoch(s.from).toLocalTime();
    if (showsDays(s)) {
        t = QDateTime(t.date(), QTime(0, 0));
        for (; t.toSecsSinceEpoch() < s.to; t = QDateTime(t.date().addDays(1), QTime(0, 0)))
            ticks.append({t.toSecsSinceEpoch(), localDayName(t.date().dayOfWeek(), true),
                          QDateTime(t.date().addDays(1), QTime(0, 0)).toSecsSinceEpoch()});
        return ticks;
    }
    const double hours = double(s.to - s.from) / kHour;
    int step = 1;
    for (int candidate : {1, 2, 3, 4, 6, 12, 24}) {
        step = candidate;
        if (plotWidth * candidate / hours >= labelWidth + 8) break;
    }
    t = QDateTime(t.date(), QTime(t.time().hour(), 0));
    for (; t.toSecsSinceEpoch() <= s.to; t = t.addSecs(kHour))
        if (t.toSecsSinceEpoch() >= s.from && t.time().hour() % step == 0)
            ticks.append({t.toSecsSinceEpoch(), t.time().toString(u"HH:mm"), 0});
    return ticks;
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}
}  // namespace

QList<PlayerStep> playerSteps(const PlayersSeries& s) {
    QList<PlayerStep> steps;
    const qint64 spacing = usualSpacing(s);
    for (qsizetype i = 0; i < s.points.size(); ++i) {
        const PlayerPoint& p = s.points[i];
        qint64 end = p.time + spacing;
        if (i + 1 < s.points.size()) {
            const qint64 next = s.points[i + 1].time;
            if (next - p.time <= kGapTimesSpacing * spacing) end = next;
        }
        const qint64 start = std::max(p.time, s.from);
        end = std::min(end, s.to);
        if (end > start)
            steps.append({start, end, std::max(0, p.players), std::max(0, p.maxPlayers), p.time});
    }
    return steps;
}

PlayersChartScale::PlayersChartScale(const PlayersSeries& s, const QRect& rect, const QFontMetrics& fm)
    : from_(s.from), to_(std::max(s.to, s.from + 1)) {
    for (const PlayerPoint& p : s.points) top_ = std::max({top_, p.players, p.maxPlayers});
    const int left = fm.horizontalAdvance(QString::number(top_)) + 6;
    labelHeight_ = fm.height();
    plot_ = rect.adjusted(left, fm.height() / 2 + 1, -fm.horizontalAdvance(u'0'), -fm.height() - 4);
}

double PlayersChartScale::xOf(qint64 time) const {
    return plot_.left() + double(time - from_) * plot_.width() / double(to_ - from_);
}

double PlayersChartScale::yOf(double players) const {
    // A little room above the top, so a full server's line does not hide in the frame.
    const double bottom = plot_.bottom() + 1, height = plot_.height() - kHeadroom;
    return bottom - height * players / top_;
}

qint64 PlayersChartScale::timeAt(double x) const {
    return from_ + qint64(std::floor((x - plot_.left()) * double(to_ - from_) / std::max(1, plot_.width())));
}

QList<int> PlayersChartScale::playerTicks() const {
    QList<int> ticks;
    const int step = tickStep(top_);
    for (int n = 0; n <= top_; n += step) ticks << n;
    if (ticks.last() != top_ && yOf(ticks.last()) - yOf(top_) > labelHeight_) ticks << top_;
    return ticks;
}

void paintPlayersChart(QPainter& painter, const QRect& rect, const PlayersSeries& series,
                       const QPalette& palette) {
    painter.save();
    const QFontMetrics fm = painter.fontMetrics();
    const PlayersChartScale scale(series, rect, fm);
    const QRect plot = scale.plot();
    painter.fillRect(plot, palette.base());
    if (series.points.isEmpty()) {
        painter.setPen(palette.color(QPalette::PlaceholderText));
        painter.drawText(plot, Qt::AlignCenter, series.emptyText);
        painter.setPen(palette.color(QPalette::Mid));
        painter.drawRect(plot.adjusted(0, 0, -1, -1));
        painter.restore();
        return;
    }

    const QColor text = palette.color(QPalette::Text);
    for (int n : scale.playerTicks()) {
        const int y = int(std::lround(scale.yOf(n)));
        painter.setPen(withAlpha(text, 30));
        if (n > 0) painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(text);
        painter.drawText(QRect(rect.left(), y - fm.height() / 2, plot.left() - rect.left() - 4, fm.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(n));
    }
    for (const TimeTick& tick :
         timeTicks(series, plot.width(), fm.horizontalAdvance(QStringLiteral("00:00")))) {
        const int x = int(std::lround(scale.xOf(tick.time)));
        if (x >= plot.left()) {
            painter.setPen(withAlpha(text, 30));
            painter.drawLine(x, plot.top(), x, plot.bottom());
            painter.setPen(text);
            painter.drawLine(x, plot.bottom(), x, plot.bottom() + 3);
        }
        QRect label(x - 40, plot.bottom() + 3, 80, fm.height());
        if (tick.labelEnd > 0) {
            const int left = std::max(x, plot.left());
            const int right = std::min(int(std::lround(scale.xOf(tick.labelEnd))), plot.right());
            if (right - left < fm.horizontalAdvance(tick.label) + 2) continue;
            label = QRect(left, plot.bottom() + 3, right - left, fm.height());
        } else if (x - fm.horizontalAdvance(tick.label) / 2 < rect.left()) {
            continue;
        }
        painter.drawText(label, Qt::AlignHCenter | Qt::AlignTop, tick.label);
    }

    // The players as filled steps, one shape for each stretch without a gap; the
    // announced maximum as a faint dashed line over them. Polylines, not painter paths:
    // a day of samples a minute apart is drawn several times a second.
    // Steps narrower than a pixel are drawn as one, at their most players.
    QList<PlayerStep> steps;
    for (const PlayerStep& st : playerSteps(series)) {
        PlayerStep* last = steps.isEmpty() ? nullptr : &steps.last();
        if (!last || last->end != st.start || scale.xOf(st.end) - scale.xOf(last->start) >= 1.0) {
            steps.append(st);
            continue;
        }
        last->end = st.end;
        last->players = std::max(last->players, st.players);
        last->maxPlayers = std::max(last->maxPlayers, st.maxPlayers);
    }
    const double floor = scale.yOf(0);
    QList<QPolygonF> lines, maxima;
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const PlayerStep& st = steps[i];
        const double x0 = scale.xOf(st.start), x1 = scale.xOf(st.end), y = scale.yOf(st.players);
        const bool joined = i > 0 && steps[i - 1].end == st.start;
        if (!joined) lines.append(QPolygonF());
        lines.last() << QPointF(x0, y) << QPointF(x1, y);
        if (st.maxPlayers <= 0) continue;
        if (!joined || steps[i - 1].maxPlayers <= 0) maxima.append(QPolygonF());
        const double ym = scale.yOf(st.maxPlayers);
        maxima.last() << QPointF(x0, ym) << QPointF(x1, ym);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(plot);
    const QColor accent = palette.color(QPalette::Highlight);
    painter.setPen(Qt::NoPen);
    painter.setBrush(withAlpha(accent, 110));
    for (const QPolygonF& line : lines) {
        QPolygonF area = line;
        area << QPointF(line.last().x(), floor) << QPointF(line.first().x(), floor);
        painter.drawPolygon(area);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(accent, 1.5));
    for (const QPolygonF& line : lines) painter.drawPolyline(line);
    painter.setPen(QPen(withAlpha(text, 110), 1, Qt::DashLine));
    for (const QPolygonF& line : maxima) painter.drawPolyline(line);
    painter.setClipping(false);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(palette.color(QPalette::Mid));
    painter.drawRect(plot.adjusted(0, 0, -1, -1));
    painter.restore();
}

QString playersChartToolTip(const PlayersSeries& series, const PlayersChartScale& scale, int x) {
    if (series.points.isEmpty() || x < scale.plot().left() || x > scale.plot().right()) return {};
    const qint64 time = scale.timeAt(x);
    for (const PlayerStep& st : playerSteps(series)) {
        if (time < st.start || time >= st.end) continue;
        const QString players =
            st.maxPlayers > 0 ? QStringLiteral("%1 of %2").arg(st.players).arg(playerCount(st.maxPlayers))
                              : playerCount(st.players);
        return localDayAndTime(st.time) + QStringLiteral(" – ") + players;
    }
    return localDayAndTime(time) + QStringLiteral(" – not heard");
}

PlayersChart::PlayersChart(QWidget* parent) : PointedPicture(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PlayersChart::setSeries(const PlayersSeries& series) {
    series_ = series;
    update();
}

QString PlayersChart::toolTipAt(const QPoint& pos) const {
    return playersChartToolTip(series_, PlayersChartScale(series_, rect(), fontMetrics()), pos.x());
}

void PlayersChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintPlayersChart(painter, rect(), series_, palette());
}

