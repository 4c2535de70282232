#pragma once
#include <functional>

#include "platform/TrayIcon.h"
#include "state/MainState.h"

// The main window's life in the tray: minimising stops every scan and hides the window
// behind an icon; a left press on the icon brings it back with scanning still off.
// Where the desktop has no tray the window only minimises and is never hidden; when the
// tray goes away while the window is hidden in it, the window comes back.
// While hidden with buddy alerts on, a slow scan (one round of the favourites a minute)
// keeps the alerts coming; it stops on restore.
class TrayBehaviour {
public:
    static constexpr int kSlowScanMs = 60 * 1000;

    struct Window {
        std::function<void()> hide;
        std::function<void()> showNormal;
        std::function<bool()> scanWhileHidden;  // buddy alerts are on
        std::function<void()> scanRound;        // one round of the whole list
    };

    TrayBehaviour(MainState& s, TrayIcon& icon, Window window);

    void onMinimised();  // the window's resize event found it minimised
    void restoreFromTray();
    // A second start of VYRN: the window comes to the front, from the tray if need be.
    void bringToFront();
    bool isRestoringFromTray() const { return restoring_; }
    IntervalTimer& slowScan() { return slowScan_; }

private:
    MainState& s_;
    TrayIcon& icon_;
    Window window_;
    bool restoring_ = false;
    IntervalTimer slowScan_{kSlowScanMs};
};

inline const QString kTrayTip = QStringLiteral("VYRN 3.0");
