#include "settings/SwapRowsDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "platform/Prompter.h"
#include "dialogs/DialogPlacement.h"

SwapRowsDialog::SwapRowsDialog(const FlexGrid& g, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("swapRowsDialog"));
    setWindowTitle(QStringLiteral("Swap "));
    auto* layout = new QGridLayout(this);
    auto* firstEntryLabel = new QLabel(QStringLiteral("Swap server entry #"), this);
    auto* secondEntryLabel = new QLabel(QStringLiteral("with server entry #"), this);
    firstEntryLabel->setObjectName(QStringLiteral("firstEntryLabel"));
    secondEntryLabel->setObjectName(QStringLiteral("secondEntryLabel"));
    firstEntryCombo = new QComboBox(this);
    secondEntryCombo = new QComboBox(this);
    firstEntryCombo->setObjectName(QStringLiteral("firstEntryCombo"));
    secondEntryCombo->setObjectName(QStringLiteral("secondEntryCombo"));
    auto* swap = new QPushButton(QStringLiteral("Swap"), this);
    swap->setObjectName(QStringLiteral("swapButton"));
    layout->addWidget(firstEntryLabel, 0, 0);
    layout->addWidget(firstEntryCombo, 0, 1);
    layout->addWidget(secondEntryLabel, 1, 0);
    layout->addWidget(secondEntryCombo, 1, 1);
    layout->addWidget(swap, 2, 1);

    for (int n = 1; n < g.rowCount(); ++n) {
        firstEntryCombo->addItem(QString::number(n));
        secondEntryCombo->addItem(QString::number(n));
    }
    if (firstEntryCombo->count() > 0)
        firstEntryCombo->setCurrentIndex(std::clamp(g.currentRow() - 1, 0, firstEntryCombo->count() - 1));
    if (secondEntryCombo->count() > 0) secondEntryCombo->setCurrentIndex(0);
    connect(swap, &QPushButton::clicked, this, &SwapRowsDialog::onSwapClicked);
    centreOnScreen(this);
}

void SwapRowsDialog::onSwapClicked() {
    if (firstEntryCombo->currentIndex() < 0 || secondEntryCombo->currentIndex() < 0) return;
    const SwapRows rows{firstEntryCombo->currentText().toInt(), secondEntryCombo->currentText().toInt()};
    if (rows.first != rows.second) {
        chosenRows_ = rows;
        accept();
        return;
    }
    prompter().ask({QStringLiteral("These two values cannot be the same!"), MsgIcon::Critical,
                    QStringLiteral("Swap")});
}

std::optional<SwapRows> showSwap(const FlexGrid& serverGrid, QWidget* parent) {
    SwapRowsDialog dialog(serverGrid, parent);
    dialog.exec();
    return dialog.chosenRows();
}
