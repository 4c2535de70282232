#include "platform/MonotonicClock.h"

#include <chrono>

qint64 monotonicNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

qint64 monotonicMs() { return monotonicNs() / 1'000'000; }
