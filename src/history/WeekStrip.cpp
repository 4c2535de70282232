#include "history/WeekStrip.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "history/HistoryText.h"

namespace {
constexpr int kDays = 7;
constexpr int kHours = 24;
// The busiest colour is the highlight; any hour above zero is at least this far towards it,
// so a quiet hour never looks like an empty one.
constexpr double kLeastShade = 0.15;

QColor mix(const QColor& a, const QColor& b, double f) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * f),
                            float(a.greenF() + (b.greenF() - a.greenF()) * f),
                            float(a.blueF() + (b.blueF() - a.blueF()) * f));
}

int dayLabelWidth(const QFontMetrics& fm) {
    int width = 0;
    for (int day = 1; day <= kDays; ++day)
        width = std::max(width, fm.horizontalAdvance(localDayName(day, true)));
    return width + 6;
}
}  // namespace

double WeekStripData::value(int hour) const {
    if (kind == Kind::HoursSeen) return week.hoursHeard[size_t(hour)];
    return known(hour) ? std::max(0.0, week.players[size_t(hour)]) : 0.0;
}

bool WeekStripData::anyKnown() const {
    for (int h = 0; h < kHoursPerWeek; ++h)
        if (known(h)) return true;
    return false;
}

double WeekStripData::busiest() const {
    double top = 0;
    for (int h = 0; h < kHoursPerWeek; ++h) top = std::max(top, value(h));
    return top;
}

WeekStripLayout::WeekStripLayout(const QRect& rect, const QFontMetrics& fm)
    : grid_(rect.adjusted(dayLabelWidth(fm), fm.height() + 1, -8, -1)) {}

QRect WeekStripLayout::cell(int hour) const {
    const int day = hour / kHours, h = hour % kHours;
    const auto edgeX = [&](int i) { return grid_.left() + grid_.width() * i / kHours; };
    const auto edgeY = [&](int i) { return grid_.top() + grid_.height() * i / kDays; };
    return QRect(QPoint(edgeX(h), edgeY(day)), QPoint(edgeX(h + 1) - 1, edgeY(day + 1) - 1));
}

int WeekStripLayout::hourAt(const QPoint& pos) const {
    if (!grid_.contains(pos) || grid_.width() <= 0 || grid_.height() <= 0) return -1;
    const int h = (pos.x() - grid_.left()) * kHours / grid_.width();
    const int day = (pos.y() - grid_.top()) * kDays / grid_.height();
    return std::clamp(day, 0, kDays - 1) * kHours + std::clamp(h, 0, kHours - 1);
}

QColor weekStripColour(const WeekStripData& data, int hour, const QPalette& palette) {
    if (!data.known(hour)) return palette.color(QPalette::Window);
    const double value = data.value(hour), top = data.busiest();
    if (value <= 0 || top <= 0) return palette.color(QPalette::Base);
    const double f = kLeastShade + (1 - kLeastShade) * std::min(1.0, value / top);
    return mix(palette.color(QPalette::Base), palette.color(QPalette::Highlight), f);
}

void paintWeekStrip(QPainter& painter, const QRect& rect, const WeekStripData& data,
                    const QPalette& palette) {
    painter.save();
    const QFont font = painter.font();
    const QFontMetrics fm(font);
    const WeekStripLayout layout(rect, fm);
    const QRect grid = layout.grid();
    const QColor text = palette.color(QPalette::Text);
    painter.setPen(text);
    // In a low strip the day names shrink to the rows' height.
    QFont dayFont = painter.font();
    const int rowHeight = grid.height() / kDays;
    if (rowHeight < fm.height())
        dayFont.setPointSizeF(std::max(5.0, dayFont.pointSizeF() * (rowHeight + 1) / fm.height()));
    painter.setFont(dayFont);
    for (int day = 0; day < kDays; ++day) {
        const QRect row = layout.cell(day * kHours);
        painter.drawText(QRect(rect.left(), row.top(), grid.left() - rect.left() - 4, row.height()),
                         Qt::AlignRight | Qt::AlignVCenter, localDayName(day + 1, true));
    }
    painter.setFont(font);
    for (int h = 0; h < kHours; h += 6) {
        const QRect col = layout.cell(h);
        painter.drawText(
            QRect(col.left(), rect.top(), fm.horizontalAdvance(QStringLiteral("00")) + 2, fm.height()),
            Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("%1").arg(h, 2, 10, QChar(u'0')));
    }
    // Unknown hours are hatched, so they never pass for empty ones.
    const QBrush hatch(palette.color(QPalette::Mid), Qt::BDiagPattern);
    for (int h = 0; h < kHoursPerWeek; ++h) {
        const QRect cell = layout.cell(h);
        painter.fillRect(cell, weekStripColour(data, h, palette));
        if (!data.known(h)) painter.fillRect(cell, hatch);
    }
    painter.setPen(palette.color(QPalette::Midlight));
    for (int h = 1; h < kHours; ++h) {
        const int x = layout.cell(h).left();
        painter.drawLine(x, grid.top(), x, grid.bottom());
    }
    for (int day = 1; day < kDays; ++day) {
        const int y = layout.cell(day * kHours).top();
        painter.drawLine(grid.left(), y, grid.right(), y);
    }
    painter.setPen(palette.color(QPalette::Mid));
    painter.drawRect(grid.adjusted(-1, -1, 0, 0));
    if (data.currentHour >= 0 && data.currentHour < kHoursPerWeek) {
        painter.setPen(QPen(text, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(layout.cell(data.currentHour).adjusted(0, 0, 1, 1));
    }
    if (data.kind == WeekStripData::Kind::UsualPlayers && !data.anyKnown()) {
        const QString& empty = data.emptyText;
        const QRect box(grid.center() - QPoint(fm.horizontalAdvance(empty) / 2 + 4, fm.height() / 2),
                        QSize(fm.horizontalAdvance(empty) + 8, fm.height()));
        painter.fillRect(box, palette.base());
        painter.setPen(palette.color(QPalette::PlaceholderText));
        painter.drawText(box, Qt::AlignCenter, empty);
    }
    painter.restore();
}

QString weekStripToolTip(const WeekStripData& data, int hour) {
    if (hour < 0 || hour >= kHoursPerWeek) return {};
    const QString when = QStringLiteral("%1 %2:00 – ")
                             .arg(localDayName(hour / kHours + 1, false))
                             .arg(hour % kHours, 2, 10, QChar(u'0'));
    if (data.kind == WeekStripData::Kind::HoursSeen) {
        const int seen = data.week.hoursHeard[size_t(hour)];
        if (seen <= 0) return when + QStringLiteral("not seen");
        return when +
               (seen == 1 ? QStringLiteral("seen in 1 hour") : QStringLiteral("seen in %1 hours").arg(seen));
    }
    if (!data.known(hour)) return when + QStringLiteral("not heard yet");
    const int players = int(std::lround(data.value(hour)));
    return when + (players == 0 ? QStringLiteral("usually empty")
                                : QStringLiteral("usually ") + playerCount(players));
}

WeekStrip::WeekStrip(QWidget* parent) : PointedPicture(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // Rows taller than a line of text only spread the colours apart.
    setMaximumHeight(fontMetrics().height() * (kDays + 1) + kDays * 6);
}

void WeekStrip::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        setMaximumHeight(fontMetrics().height() * (kDays + 1) + kDays * 6);
    PointedPicture::changeEvent(event);
}

void WeekStrip::setData(const WeekStripData& data) {
    data_ = data;
    update();
}

QSize WeekStrip::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {dayLabelWidth(fm) + kHours * 11, fm.height() + 1 + kDays * 10};
}

QSize WeekStrip::minimumSizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {dayLabelWidth(fm) + kHours * 6, fm.height() + 1 + kDays * 7};
}

QString WeekStrip::toolTipAt(const QPoint& pos) const {
    return weekStripToolTip(data_, WeekStripLayout(rect(), fontMetrics()).hourAt(pos));
}

void WeekStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintWeekStrip(painter, rect(), data_, palette());
}

