#pragma once
#include <QWidget>

// A picture whose tooltip names what lies under the mouse: each one says what a point holds.
class PointedPicture : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    // Empty where nothing is drawn.
    virtual QString toolTipAt(const QPoint& pos) const = 0;

protected:
    bool event(QEvent* event) override;
};
