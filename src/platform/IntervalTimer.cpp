#include "platform/IntervalTimer.h"

#include <QCoreApplication>

IntervalTimer::IntervalTimer(int intervalMs, bool enabled) {
    timer_.setInterval(intervalMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { fire(); });
    setEnabled(enabled);
}

void IntervalTimer::setEnabled(bool on) {
    enabled_ = on;
    // Timers are only started where an event loop can run them.
    if (on && QCoreApplication::instance()) timer_.start();
    else timer_.stop();
}

void IntervalTimer::setInterval(int ms) {
    timer_.setInterval(ms);
    if (enabled_ && QCoreApplication::instance()) timer_.start();
}
