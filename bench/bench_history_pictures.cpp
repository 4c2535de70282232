// The main window's history pictures for one server with a year behind it: a sample a
// minute for the last day, the most players of each hour for the week, and every hour of
// the usual week known; painted into a 600 x 300 picture as the panel shows them.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <cmath>

#include "BenchSupport.h"
#include "history/PlayersChart.h"
#include "history/ServerHistoryView.h"
#include "history/WeekStrip.h"

namespace {
constexpr QSize kPicture(600, 300);

int playersAt(qint64 time) {
    const double hour = double(time % (24 * 3600)) / 3600;
    return std::max(0,
                    int(std::lround(12 * std::sin((hour - 8) / 24 * 2 * M_PI) + 4 + double(time / 60 % 5))));
}

struct AYear {
    qint64 now = QDateTime(QDate(2026, 12, 1), QTime(20, 30)).toSecsSinceEpoch();
    ServerHistory history;
    AYear() {
        for (qint64 t = now - 24 * 3600 + 60; t <= now; t += 60)
            history.lastDay.append({t, playersAt(t), 16});
        for (qint64 t = (now - 7 * 24 * 3600) / 3600 * 3600 + 3600; t <= now; t += 3600)
            history.lastWeek.append({t, playersAt(t), 16});
        for (int h = 0; h < kHoursPerWeek; ++h) {
            history.usualWeek.players[size_t(h)] = playersAt(h * 3600) * 0.8;
            history.usualWeek.hoursHeard[size_t(h)] = 52;
        }
    }
};

const AYear& aYear() {
    static const AYear year;
    return year;
}

void BM_PanelPictures(benchmark::State& state) {
    ServerHistoryView view;
    view.resize(kPicture);
    view.setHistory(aYear().history, aYear().now);
    view.showRange(ServerHistoryView::Range(state.range(0)));
    QImage image(kPicture, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.setHistory(aYear().history, aYear().now);
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(state.range(0) == 0 ? "last 24 hours (1,440 samples) and usual week"
                                       : "last 7 days (168 hours) and usual week");
}
BENCHMARK(BM_PanelPictures)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The three pictures alone, each into the whole picture.
void BM_PaintDayChart(benchmark::State& state) {
    const PlayersSeries day{aYear().history.lastDay, aYear().now - 24 * 3600, aYear().now};
    QImage image(kPicture, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        paintPlayersChart(painter, image.rect(), day, QApplication::palette());
    }
}
BENCHMARK(BM_PaintDayChart)->Unit(benchmark::kMillisecond);

void BM_PaintWeekStrip(benchmark::State& state) {
    const WeekStripData week{aYear().history.usualWeek, WeekStripData::Kind::UsualPlayers,
                             localHourOfWeek(aYear().now)};
    QImage image(kPicture, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        paintWeekStrip(painter, image.rect(), week, QApplication::palette());
    }
}
BENCHMARK(BM_PaintWeekStrip)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return runBenchmarks<QApplication>(argc, argv);
}
