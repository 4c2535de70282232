#include "platform/TrayIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {
QIcon trayPicture() {
    QPixmap pm(32, 32);
    pm.fill(QColor(0x20, 0x30, 0x60));
    QPainter p(&pm);
    p.setPen(Qt::white);
    p.setFont(QFont(QStringLiteral("Arial"), 16, QFont::Bold));
    p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("V"));
    return QIcon(pm);
}

class SystemTrayIcon final : public TrayIcon {
public:
    SystemTrayIcon() : icon_(trayPicture()) {
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

std::unique_ptr<TrayIcon> makeSystemTrayIcon() { return std::make_unique<SystemTrayIcon>(); }
