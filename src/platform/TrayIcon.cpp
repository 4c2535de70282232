#include "platform/TrayIcon.h"

#include <QSystemTrayIcon>
#include <QTimer>

QString withoutMarkup(QString text) {
    return text.replace('<', QChar(0x2039)).replace('>', QChar(0x203A)).replace('&', QChar(0xFF06));
}

namespace {
class SystemTrayIcon final : public TrayIcon {
public:
    explicit SystemTrayIcon(const QIcon& picture) : icon_(picture) {
        QObject::connect(&icon_, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason r) {
            if (r == QSystemTrayIcon::Trigger && leftPressed) leftPressed();
        });
        // Qt says nothing when the tray goes away, so the icon looks for it while it is in it.
        QObject::connect(&watch_, &QTimer::timeout, [this] {
            if (!added_ || available()) return;
            watch_.stop();
            if (vanished) vanished();
        });
    }
    bool available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    void add(const QString& tip) override {
        added_ = true;
        icon_.setToolTip(tip);
        icon_.show();
        watch_.start(kWatchMs);
    }
    void remove() override {
        added_ = false;
        watch_.stop();
        icon_.hide();
    }
    bool shown() const override { return added_; }
    bool notify(const QString& title, const QString& text) override {
        if (!available() || !QSystemTrayIcon::supportsMessages()) return false;
        // A message needs the icon on show; outside the tray it shows only for the message.
        if (!added_) {
            icon_.show();
            QTimer::singleShot(kMessageMs + 500, &icon_, [this] { if (!added_) icon_.hide(); });
        }
        icon_.showMessage(withoutMarkup(title), withoutMarkup(text), QSystemTrayIcon::Information, kMessageMs);
        return true;
    }

private:
    static constexpr int kMessageMs = 6000;
    static constexpr int kWatchMs = 1000;
    QSystemTrayIcon icon_;
    QTimer watch_;
    bool added_ = false;
};
}  // namespace

std::unique_ptr<TrayIcon> makeSystemTrayIcon(const QIcon& picture) {
    return std::make_unique<SystemTrayIcon>(picture);
}
