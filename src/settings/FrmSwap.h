#pragma once
#include <QDialog>

#include "state/FlexGrid.h"

class QComboBox;

// "Swap ": two entry numbers of the settings grid; "Swap" leaves them in SwapFirst and
// SwapSecond, -1 when none were chosen.
class FrmSwap : public QDialog {
    Q_OBJECT
public:
    FrmSwap(const FlexGrid& serverGrid, QWidget* parent = nullptr);

private:
    void Command1_Click();
    QComboBox* List1;
    QComboBox* List2;
};

// Shows the dialog modally (the swap chooser of the favourites editor).
void showSwap(const FlexGrid& serverGrid, QWidget* parent);
