#include "query/TeamPictures.h"

#include <QPainter>

QPixmap teamPicture(int index) {
    static const QColor colours[] = {QColor(), QColor(0xd4, 0xaf, 0x37), QColor(0xc0, 0xc0, 0xc0),
                                     QColor(0x30, 0x50, 0xe0), QColor(0x20, 0xb0, 0x30),
                                     QColor(0xd0, 0x20, 0x20)};
    QPixmap pm(40, 12);
    if (index < 1 || index > 6) return QPixmap();
    if (index == 6) {
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setPen(Qt::black);
        p.setFont(QFont(QStringLiteral("Arial"), 7, QFont::Bold));
        p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("Spec"));
        return pm;
    }
    pm.fill(colours[index]);
    return pm;
}
