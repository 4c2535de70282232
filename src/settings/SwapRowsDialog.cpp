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
    auto* label1 = new QLabel(QStringLiteral("Swap server entry #"), this);
    auto* label2 = new QLabel(QStringLiteral("with server entry #"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label2->setObjectName(QStringLiteral("Label2"));
    List1 = new QComboBox(this);
    List2 = new QComboBox(this);
    List1->setObjectName(QStringLiteral("List1"));
    List2->setObjectName(QStringLiteral("List2"));
    auto* swap = new QPushButton(QStringLiteral("Swap"), this);
    swap->setObjectName(QStringLiteral("Command1"));
    layout->addWidget(label1, 0, 0);
    layout->addWidget(List1, 0, 1);
    layout->addWidget(label2, 1, 0);
    layout->addWidget(List2, 1, 1);
    layout->addWidget(swap, 2, 1);

    for (int n = 1; n < g.Rows(); ++n) {
        List1->addItem(QString::number(n));
        List2->addItem(QString::number(n));
    }
    if (List1->count() > 0) List1->setCurrentIndex(std::clamp(g.Row() - 1, 0, List1->count() - 1));
    if (List2->count() > 0) List2->setCurrentIndex(0);
    connect(swap, &QPushButton::clicked, this, &SwapRowsDialog::Command1_Click);
    centreOnScreen(this);
}

void SwapRowsDialog::Command1_Click() {
    if (List1->currentIndex() < 0 || List2->currentIndex() < 0) return;
    const SwapRows rows{List1->currentText().toInt(), List2->currentText().toInt()};
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
