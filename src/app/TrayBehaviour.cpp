#include "app/TrayBehaviour.h"

TrayBehaviour::TrayBehaviour(MainState& s, TrayIcon& icon, Window window)
    : s_(s), icon_(icon), window_(std::move(window)) {
    icon_.leftPressed = [this] { restoreFromTray(); };
    // Without its tray the icon can no longer be pressed: the window comes back by itself.
    icon_.vanished = [this] { restoreFromTray(); };
    slowScan_.setTick([this] {
        if (window_.scanRound) window_.scanRound();
    });
}

void TrayBehaviour::bringToFront() {
    if (icon_.shown()) {
        restoreFromTray();
        return;
    }
    if (window_.showNormal) window_.showNormal();
}

void TrayBehaviour::onMinimised() {
    if (restoring_) return;
    s_.readyToQuery = false;
    s_.autoScanTimer.setEnabled(false);
    s_.selectedScanTimer.setEnabled(false);
    s_.autoScanMode = false;
    // Without a tray a hidden window could never be brought back.
    if (!icon_.available()) return;
    if (!icon_.shown()) icon_.add(kTrayTip);
    if (window_.hide) window_.hide();
    if (window_.scanWhileHidden && window_.scanWhileHidden()) slowScan_.setEnabled(true);
}

void TrayBehaviour::restoreFromTray() {
    if (!icon_.shown()) return;
    slowScan_.setEnabled(false);
    icon_.remove();
    restoring_ = true;
    if (window_.showNormal) window_.showNormal();
    restoring_ = false;
    s_.autoScanIndicatorTimer.fire();  // the caption says at once that scanning is off
}
