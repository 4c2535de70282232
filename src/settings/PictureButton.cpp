#include "settings/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace {
constexpr int kSide = 25;

void drawTriangle(QPainter& p, bool up, int offset, int top, int bottom) {
    const int mid = kSide / 2 + offset;
    QPolygon triangle;
    if (up) triangle << QPoint(mid, top + offset) << QPoint(mid + 7, bottom + offset) << QPoint(mid - 7, bottom + offset);
    else triangle << QPoint(mid, bottom + offset) << QPoint(mid + 7, top + offset) << QPoint(mid - 7, top + offset);
    p.drawPolygon(triangle);
}
}  // namespace

QPixmap PictureButton::drawArrow(Arrow arrow, bool pressed) {
    QPixmap pixmap(kSide, kSide);
    pixmap.fill(pressed ? QColor(0xA0, 0xA0, 0xA0) : QColor(0xE0, 0xE0, 0xE0));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // Raised edges at rest, sunken edges and the arrow one pixel down-right when pressed.
    p.setPen(pressed ? Qt::darkGray : Qt::white);
    p.drawLine(0, 0, kSide - 1, 0);
    p.drawLine(0, 0, 0, kSide - 1);
    p.setPen(pressed ? Qt::white : Qt::darkGray);
    p.drawLine(kSide - 1, 0, kSide - 1, kSide - 1);
    p.drawLine(0, kSide - 1, kSide - 1, kSide - 1);
    const int offset = pressed ? 1 : 0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x40, 0x90));
    switch (arrow) {
        case Arrow::Up: drawTriangle(p, true, offset, 6, 18); break;
        case Arrow::Down: drawTriangle(p, false, offset, 6, 18); break;
        case Arrow::Swap:
            drawTriangle(p, true, offset, 3, 11);
            drawTriangle(p, false, offset, 13, 21);
            break;
    }
    return pixmap;
}

PictureButton::PictureButton(Arrow arrow, const QString& pressedName, QWidget* parent)
    : QLabel(parent), pressed_(new QLabel(this)) {
    setPixmap(drawArrow(arrow, false));
    setFixedSize(kSide, kSide);
    setFocusPolicy(Qt::ClickFocus);
    pressed_->setObjectName(pressedName);
    pressed_->setPixmap(drawArrow(arrow, true));
    pressed_->setGeometry(0, 0, kSide, kSide);
    pressed_->setAttribute(Qt::WA_TransparentForMouseEvents);
    pressed_->hide();
}

void PictureButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_->show();
    setFocus();
    if (action_) action_();
    if (releaseAfterAction_) pressed_->hide();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_->hide();
}
