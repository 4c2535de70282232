#include "history/PointedPicture.h"

#include <QHelpEvent>
#include <QToolTip>

bool PointedPicture::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = toolTipAt(help->pos());
    if (tip.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(help->globalPos(), tip, this);
    return true;
}
