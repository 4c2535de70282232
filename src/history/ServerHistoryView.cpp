#include "history/ServerHistoryView.h"

#include <QLabel>
#include <QTabBar>
#include <QVBoxLayout>

#include "history/PlayersChart.h"
#include "history/WeekStrip.h"

namespace {
constexpr qint64 kDaySecs = 24 * 3600;
}

ServerHistoryView::ServerHistoryView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("historyRangeTabs"));
    tabs_->setDrawBase(false);
    tabs_->setDocumentMode(true);
    tabs_->setExpanding(false);
    tabs_->addTab(QStringLiteral("Last 24 hours"));
    tabs_->addTab(QStringLiteral("Last 7 days"));
    chart_ = new PlayersChart(this);
    chart_->setObjectName(QStringLiteral("playersChart"));
    auto* caption = new QLabel(QStringLiteral("Usual week"), this);
    strip_ = new WeekStrip(this);
    strip_->setObjectName(QStringLiteral("weekStrip"));
    layout->addWidget(tabs_);
    layout->addWidget(chart_, 1);
    layout->addWidget(caption);
    layout->addWidget(strip_, 1);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { showRange(Range(index)); });
    clear();
}

void ServerHistoryView::setHistory(const ServerHistory& history, qint64 now) {
    history_ = history;
    now_ = now;
    strip_->setData({history.usualWeek, WeekStripData::Kind::UsualPlayers, localHourOfWeek(now)});
    showRange(range());
}

void ServerHistoryView::clear(const QString& why) {
    history_ = {};
    now_ = 0;
    PlayersSeries none;
    none.emptyText = why;
    chart_->setSeries(none);
    WeekStripData unknown;
    unknown.emptyText = why;
    strip_->setData(unknown);
}

void ServerHistoryView::showRange(Range range) {
    if (tabs_->currentIndex() != range) return tabs_->setCurrentIndex(range);  // which comes back here
    if (now_ == 0) return;
    if (range == LastDay) chart_->setSeries({history_.lastDay, now_ - kDaySecs, now_});
    else chart_->setSeries({history_.lastWeek, now_ - 7 * kDaySecs, now_});
}

ServerHistoryView::Range ServerHistoryView::range() const { return Range(tabs_->currentIndex()); }
