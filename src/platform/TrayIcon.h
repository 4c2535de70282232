#pragma once
#include <QString>
#include <functional>
#include <memory>

class QIcon;

// The notification-area icon. Where the desktop has no tray, available() is false and
// nothing is shown.
class TrayIcon {
public:
    virtual ~TrayIcon() = default;
    virtual bool available() const = 0;
    virtual void add(const QString& tip) = 0;
    virtual void remove() = 0;
    virtual bool shown() const = 0;
    // A desktop notification from the icon ("Bob is playing on ..."); false where none
    // can be shown.
    virtual bool notify(const QString& title, const QString& text) = 0;
    // Called for a left-button press on the icon; other buttons do nothing.
    std::function<void()> leftPressed;
    // Called when the desktop's tray goes away while the icon is in it (the panel
    // crashed or was closed): a window hidden behind the icon must come back.
    std::function<void()> vanished;
};

// Notification servers may read markup in a message; player and server names come
// from the wire, so "<", ">" and "&" become look-alikes (‹ › ＆) that read the same.
QString withoutMarkup(QString text);

// The desktop's tray through QSystemTrayIcon.
std::unique_ptr<TrayIcon> makeSystemTrayIcon(const QIcon& picture);
