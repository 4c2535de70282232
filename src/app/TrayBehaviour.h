#pragma once
#include <functional>

#include "platform/TrayIcon.h"
#include "state/MainState.h"

// The main window's life in the tray: minimising stops every scan and hides the window
// behind an icon; a left press on the icon brings it back with scanning still off.
// Where the desktop has no tray the window only minimises and is never hidden; when the
// tray goes away while the window is hidden in it, the window comes back.
class TrayBehaviour {
public:
    struct Window {
        std::function<void()> hide;
        std::function<void()> showNormal;
    };

    TrayBehaviour(MainState& s, TrayIcon& icon, Window window);

    void onMinimised();  // the window's resize event found it minimised
    void RestoreFromTray();
    // A second start of VYRN: the window comes to the front, from the tray if need be.
    void bringToFront();
    bool RestoringFromTray() const { return restoring_; }

private:
    MainState& s_;
    TrayIcon& icon_;
    Window window_;
    bool restoring_ = false;
};

inline const QString kTrayTip = QStringLiteral("VYRN 3.0");
