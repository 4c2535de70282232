#pragma once
#include <QTimer>
#include <functional>

// A repeating timer with the two properties the windows use: enabled and interval.
// Enabling restarts the count; so does a new interval while enabled.
class IntervalTimer {
public:
    explicit IntervalTimer(int intervalMs, bool enabled = false);

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool on);
    int interval() const { return timer_.interval(); }
    void setInterval(int ms);
    void setTick(std::function<void()> tick) { tick_ = std::move(tick); }
    // Runs the handler as a tick would, whether or not the timer is enabled.
    void fire() { if (tick_) tick_(); }

private:
    QTimer timer_;
    bool enabled_ = false;
    std::function<void()> tick_;
};
