#pragma once
#include <QDialog>

#include <optional>

#include "settings/FavouritesEditor.h"
#include "state/FlexGrid.h"

class QComboBox;

// "Swap ": two entry numbers of the settings grid; "Swap" takes two different ones, the
// close box takes none.
class SwapRowsDialog : public QDialog {
    Q_OBJECT
public:
    SwapRowsDialog(const FlexGrid& serverGrid, QWidget* parent = nullptr);
    std::optional<SwapRows> chosenRows() const { return chosenRows_; }

private:
    void onSwapClicked();
    QComboBox* firstEntryCombo;
    QComboBox* secondEntryCombo;
    std::optional<SwapRows> chosenRows_;
};

// Shows the dialog modally (the swap chooser of the favourites editor); the chosen rows.
std::optional<SwapRows> showSwap(const FlexGrid& serverGrid, QWidget* parent);
