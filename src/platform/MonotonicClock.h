#pragma once
#include <QtGlobal>

// Milliseconds from a monotonic clock: pings stay exact whatever the time of day.
qint64 monotonicMs();
// Nanoseconds from the same clock, for measuring below a millisecond.
qint64 monotonicNs();
