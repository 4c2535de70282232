#include "platform/AppLogo.h"

#include <QPainter>

QPixmap vyrnLogo(int size) {
    QPixmap pm(size, size);
    pm.fill(QColor(0x20, 0x30, 0x60));
    QPainter p(&pm);
    p.setPen(Qt::white);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(size * 2 / 3);
    font.setBold(true);
    p.setFont(font);
    p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("V"));
    return pm;
}
