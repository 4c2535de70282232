#pragma once
// What the benchmarks share: the event loop's longest block, the thread's CPU time and the
// program's start.
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include "platform/MonotonicClock.h"

inline qint64 threadCpuNs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// CPU time of this thread so far: tells a loop held by its own work from one that waited
// for a core, and on a busy machine is steadier than wall time.
inline double threadCpuMs() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// The longest time the event loop was blocked while the meter lives (a 1 ms heartbeat): as
// the wall clock saw it (on a busy machine that includes time the thread waited for a
// core), and as the thread's own CPU time within the gap (the work that held the loop).
struct BlockMeter {
    QTimer heartbeat;
    qint64 last = monotonicNs(), lastCpu = threadCpuNs(), worst = 0, worstCpu = 0;
    BlockMeter() {
        heartbeat.setInterval(1);
        QObject::connect(&heartbeat, &QTimer::timeout, [this] {
            const qint64 now = monotonicNs(), cpu = threadCpuNs();
            worst = std::max(worst, now - last);
            worstCpu = std::max(worstCpu, cpu - lastCpu);
            last = now;
            lastCpu = cpu;
        });
        heartbeat.start();
    }
    double worstMs() const { return double(worst) / 1e6; }
    double worstCpuMs() const { return double(worstCpu) / 1e6; }
};

// Runs the benchmarks the command line names, inside the application object App.
template <typename App>
int runBenchmarks(int argc, char** argv) {
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
