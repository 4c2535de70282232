#include "settings/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget& w) {
    if (!w.testAttribute(Qt::WA_Resized)) w.adjustSize();  // a window sized by its maker keeps it
    const QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    w.move(area.x() + (area.width() - w.width()) / 2, area.y() + (area.height() - w.height()) / 2);
}
