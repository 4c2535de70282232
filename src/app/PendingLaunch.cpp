#include "app/PendingLaunch.h"

PendingLaunch::PendingLaunch() {
    deadline_.setSingleShot(true);
    QObject::connect(&deadline_, &QTimer::timeout, [this] { finish(false); });
}

void PendingLaunch::start(int row, int timeoutMs) {
    row_ = row;
    deadline_.start(timeoutMs);
    if (waitingChanged) waitingChanged(true);
}

void PendingLaunch::queryFinished(int row, bool answered) {
    if (waiting() && row == row_) finish(answered);
}

void PendingLaunch::cancel() {
    if (!waiting()) return;
    deadline_.stop();
    row_ = 0;
    if (waitingChanged) waitingChanged(false);
}

void PendingLaunch::finish(bool answered) {
    const int row = row_;
    cancel();
    if (done) done(row, answered);
}
