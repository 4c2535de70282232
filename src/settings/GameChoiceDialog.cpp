#include "settings/GameChoiceDialog.h"

#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/DialogPlacement.h"

GameChoiceDialog::GameChoiceDialog(const QString& preselectedCode, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("gameChoiceDialog"));
    setWindowTitle(QStringLiteral("Select Game:"));
    auto* layout = new QVBoxLayout(this);
    utOption = new QRadioButton(QStringLiteral("UT"), this);
    ut2003Option = new QRadioButton(QStringLiteral("UT2003"), this);
    ut2004Option = new QRadioButton(QStringLiteral("UT2004"), this);
    utOption->setObjectName(QStringLiteral("utOption"));
    ut2003Option->setObjectName(QStringLiteral("ut2003Option"));
    ut2004Option->setObjectName(QStringLiteral("ut2004Option"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);  // Enter on an option acts as "OK"
    for (QWidget* w : {static_cast<QWidget*>(utOption), static_cast<QWidget*>(ut2003Option),
                       static_cast<QWidget*>(ut2004Option), static_cast<QWidget*>(ok)})
        layout->addWidget(w);
    // The choice matching the code exactly is preselected; another text selects none.
    if (preselectedCode == QLatin1String("UT")) utOption->setChecked(true);
    else if (preselectedCode == QLatin1String("UT2")) ut2003Option->setChecked(true);
    else if (preselectedCode == QLatin1String("UT3")) ut2004Option->setChecked(true);
    connect(ok, &QPushButton::clicked, this, &GameChoiceDialog::onOkClicked);
    utOption->setFocus();
    centreOnScreen(this);
}

void GameChoiceDialog::onOkClicked() {
    if (utOption->isChecked()) chosenCode_ = QStringLiteral("UT");
    else if (ut2003Option->isChecked()) chosenCode_ = QStringLiteral("UT2");
    else if (ut2004Option->isChecked()) chosenCode_ = QStringLiteral("UT3");
    accept();
}

std::optional<QString> showSelectGame(const QString& preselectedCode, QWidget* parent) {
    GameChoiceDialog dialog(preselectedCode, parent);
    dialog.exec();
    return dialog.chosenCode();
}
