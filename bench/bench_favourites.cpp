// Loading and saving a big "servers.ini": 50,000 favourites into the main window's grid
// and the settings dialog's, written back, and 8 MB of binary taken as a favourites
// file. Each must stay well under a second: start-up waits for it.
#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "query/MainGrids.h"
#include "settings/SettingsGrids.h"
#include "state/FavouritesFiles.h"
#include "state/ProgramFolder.h"

namespace {
constexpr int kFavourites = 50000;

struct Folder {
    QTemporaryDir dir;
    Folder() { setProgramFolder(dir.path()); }
    ~Folder() { setProgramFolder(QString()); }
    void write(const QByteArray& bytes) const {
        QFile f(dir.filePath(QStringLiteral("servers.ini")));
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    }
};

QByteArray fiftyThousandFavourites() {
    const char* codes[] = {"UT", "UT2", "UT3"};
    QByteArray out;
    for (int i = 0; i < kFavourites; ++i)
        out += QByteArray("10.") + QByteArray::number(i / 65536) + '.' + QByteArray::number(i / 256 % 256) + '.' +
               QByteArray::number(i % 256) + ':' + QByteArray::number(7778 + i % 100) + ':' + codes[i % 3] + "\r\n";
    return out;
}

// A fresh main window's grid loaded from "servers.ini": the favourite rows it holds.
int rowsLoadedIntoMainGrid() {
    MainState s;
    setUpServerGrid(s);
    loadServerList(s);
    return s.serverGrid.rowCount() - 1;
}

void BM_LoadFiftyThousandFavourites(benchmark::State& state) {
    Folder folder;
    folder.write(fiftyThousandFavourites());
    int rows = 0;
    for (auto _ : state) rows = rowsLoadedIntoMainGrid();
    state.counters["favourites"] = rows;
}
BENCHMARK(BM_LoadFiftyThousandFavourites)->Unit(benchmark::kMillisecond);

void BM_SettingsDialogLoadsFiftyThousand(benchmark::State& state) {
    Folder folder;
    folder.write(fiftyThousandFavourites());
    for (auto _ : state) {
        FlexGrid g;
        layoutSettingsServerGrid(g, kGameColumnWidthOnOpen);
        loadSettingsServerGrid(g);
    }
}
BENCHMARK(BM_SettingsDialogLoadsFiftyThousand)->Unit(benchmark::kMillisecond);

void BM_SaveSortedFiftyThousand(benchmark::State& state) {
    Folder folder;
    folder.write(fiftyThousandFavourites());
    MainState s;
    setUpServerGrid(s);
    loadServerList(s);
    for (auto _ : state) benchmark::DoNotOptimize(saveSortedServerList(s).saved());
}
BENCHMARK(BM_SaveSortedFiftyThousand)->Unit(benchmark::kMillisecond);

void BM_LoadEightMegabytesOfBinary(benchmark::State& state) {
    Folder folder;
    QByteArray noise(8 * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator random(15);
    for (char& c : noise) c = char(random.bounded(256));
    folder.write(noise);
    int rows = 0;
    for (auto _ : state) rows = rowsLoadedIntoMainGrid();
    state.counters["rows"] = rows;
}
BENCHMARK(BM_LoadEightMegabytesOfBinary)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    return runBenchmarks<QCoreApplication>(argc, argv);
}
