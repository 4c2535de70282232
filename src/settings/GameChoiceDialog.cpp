#include "settings/GameChoiceDialog.h"

#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "dialogs/DialogPlacement.h"

GameChoiceDialog::GameChoiceDialog(const QString& preselectedCode, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("gameChoiceDialog"));
    setWindowTitle(QStringLiteral("Select Game:"));
    auto* layout = new QVBoxLayout(this);
    Option1 = new QRadioButton(QStringLiteral("UT"), this);
    Option2 = new QRadioButton(QStringLiteral("UT2003"), this);
    Option3 = new QRadioButton(QStringLiteral("UT2004"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2->setObjectName(QStringLiteral("Option2"));
    Option3->setObjectName(QStringLiteral("Option3"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);  // Enter on an option acts as "OK"
    for (QWidget* w : {static_cast<QWidget*>(Option1), static_cast<QWidget*>(Option2),
                       static_cast<QWidget*>(Option3), static_cast<QWidget*>(ok)})
        layout->addWidget(w);
    // The choice matching the code exactly is preselected; another text selects none.
    if (preselectedCode == QLatin1String("UT")) Option1->setChecked(true);
    else if (preselectedCode == QLatin1String("UT2")) Option2->setChecked(true);
    else if (preselectedCode == QLatin1String("UT3")) Option3->setChecked(true);
    connect(ok, &QPushButton::clicked, this, &GameChoiceDialog::Command1_Click);
    Option1->setFocus();
    centreOnScreen(this);
}

void GameChoiceDialog::Command1_Click() {
    if (Option1->isChecked()) chosenCode_ = QStringLiteral("UT");
    else if (Option2->isChecked()) chosenCode_ = QStringLiteral("UT2");
    else if (Option3->isChecked()) chosenCode_ = QStringLiteral("UT3");
    accept();
}

std::optional<QString> showSelectGame(const QString& preselectedCode, QWidget* parent) {
    GameChoiceDialog dialog(preselectedCode, parent);
    dialog.exec();
    return dialog.chosenCode();
}
