#include "dialogs/DialogPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>

QRect centredWithin(QSize window, const QRect& area) {
    const QSize size = window.boundedTo(area.size());
    return {area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2,
            size.width(), size.height()};
}

namespace {
const char* const kSizedHere = "vyrnSizedHere";
const char* const kPlacedOnShow = "vyrnPlacedOnShow";

void placeNow(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    window->ensurePolished();
    if (QLayout* layout = window->layout()) {
        // Content set since the last layout run counts too.
        layout->invalidate();
        layout->activate();
    }
    // A window whose size nobody but us chose takes the size its content asks for now.
    const bool sizedHere =
        !window->testAttribute(Qt::WA_Resized) || window->property(kSizedHere).toSize() == window->size();
    if (sizedHere) window->adjustSize();
    // The window manager's frame is known only once the window is on screen.
    const QSize frame = window->isVisible() ? window->frameGeometry().size() - window->geometry().size()
                                            : QSize(0, 0);
    const QRect area = screen->availableGeometry();
    const QSize fitted = centredWithin(window->size() + frame, area).size() - frame;
    if (fitted != window->size()) window->resize(fitted);  // the minimum size may refuse
    window->move(centredWithin(window->size() + frame, area).topLeft());
    if (sizedHere) window->setProperty(kSizedHere, window->size());
}

// Places the window again when it is first shown: by then dialogs have their content.
class PlaceOnFirstShow final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            placeNow(static_cast<QWidget*>(watched));
            deleteLater();
            watched->removeEventFilter(this);
        }
        return false;
    }
};
}  // namespace

void centreOnScreen(QWidget* window) {
    placeNow(window);
    if (window->isVisible() || window->property(kPlacedOnShow).toBool()) return;
    window->setProperty(kPlacedOnShow, true);
    window->installEventFilter(new PlaceOnFirstShow(window));
}
