#include "dialogs/FilterBox.h"

#include <QKeyEvent>

FilterBox::FilterBox(QWidget* parent) : QLineEdit(parent) {
    setPlaceholderText(QStringLiteral("Name contains"));
    setClearButtonEnabled(true);
}

void FilterBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
