#include "platform/TrayIcon.h"

#include <QSystemTrayIcon>
#include <QTimer>

namespace {
class SystemTrayIcon final : public TrayIcon {
public:
    explicit SystemTrayIcon(const QIcon& picture) : icon_(picture) {
        QObject::connect(&icon_, &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason r) {
            if (r == QSystemTrayIcon::Trigger && leftPressed) leftPressed();
        });
    }
    bool available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }
    void add(const QString& tip) override {
        added_ = true;
        icon_.setToolTip(tip);
        icon_.show();
    }
    void remove() override {
        added_ = false;
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
        icon_.showMessage(title, text, QSystemTrayIcon::Information, kMessageMs);
        return true;
    }

private:
    static constexpr int kMessageMs = 6000;
    QSystemTrayIcon icon_;
    bool added_ = false;
};
}  // namespace

std::unique_ptr<TrayIcon> makeSystemTrayIcon(const QIcon& picture) {
    return std::make_unique<SystemTrayIcon>(picture);
}
