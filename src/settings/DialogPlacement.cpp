#include "settings/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget& w) {
    w.adjustSize();
    const QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    w.move(area.x() + (area.width() - w.width()) / 2, area.y() + (area.height() - w.height()) / 2);
}
