#pragma once
#include <QLineEdit>

// A "Name contains" box over a list; Escape empties it.
class FilterBox : public QLineEdit {
    Q_OBJECT
public:
    explicit FilterBox(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
