#pragma once
#include <QTimer>
#include <functional>

// "&Launch!" pressed for the selected server while its first reply is still on its way:
// the launch waits for that reply, up to the query's time-out, and can be given up.
class PendingLaunch {
public:
    // Called with the row waited for and true when the reply came (launch now), false when
    // the time ran out or the query ended unanswered (the server is down).
    std::function<void(int row, bool answered)> done;
    // Called when the wait starts and when it ends, for the window to show it.
    std::function<void(bool waiting)> waitingChanged;

    PendingLaunch();
    void start(int row, int timeoutMs);
    // A query of a row ended.
    void queryFinished(int row, bool answered);
    // The user gave up, or selected another server: nothing is launched.
    void cancel();
    bool waiting() const { return row_ > 0; }
    int row() const { return row_; }

private:
    void finish(bool answered);
    QTimer deadline_;
    int row_ = 0;
};

inline const QString kWaitingForServerText = QStringLiteral("waiting for the server…");
