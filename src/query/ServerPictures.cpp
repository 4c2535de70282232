#include "query/ServerPictures.h"

#include <QPainter>

#include "state/MainState.h"

QPixmap serverPicture(int index) {
    if (index != PictureLocked && index != PictureSilent) return {};
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (index == PictureLocked) {
        p.setPen(QPen(QColor(0x60, 0x50, 0x20), 1.5));
        p.drawArc(QRectF(3, 1, 6, 7), 0, 180 * 16);  // the shackle
        p.drawLine(QPointF(3, 4.5), QPointF(3, 6));
        p.drawLine(QPointF(9, 4.5), QPointF(9, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xd4, 0xaf, 0x37));
        p.drawRect(QRectF(1.5, 6, 9, 5.5));  // the body
        return pm;
    }
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5));
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.drawLine(QPointF(3.5, 8.5), QPointF(8.5, 3.5));
    return pm;
}

void setServerPicture(FlexGrid& g, int row, int picture) {
    if (row < 1 || row >= g.rowCount()) return;
    const int keepRow = g.currentRow(), keepCol = g.currentCol();
    g.setCurrentRow(row);
    g.setCurrentCol(ServerCol::Name);
    if (g.cellPicture() != picture) g.setCellPicture(picture);
    g.setCurrentRow(keepRow);
    g.setCurrentCol(keepCol);
}
