#include "dialogs/TermsDialog.h"

#include <QPlainTextEdit>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/DialogPlacement.h"

const QString TermsDialog::kTerms = QStringLiteral(
    "VYRN terms of use\n\n"
    "VYRN is free software, offered as it is, without any warranty.\n\n"
    "VYRN sends small status queries to the game servers in your favourites list and "
    "starts the games you have installed. Use it in a way that respects the rules of "
    "the servers you visit.\n\n"
    "VYRN edits a few player options in your games' user.ini files and saves "
    "screenshots as JPEG files. Keep copies of files you cannot replace.\n\n"
    "Unreal Tournament, UT2003 and UT2004 are the property of their makers; VYRN is not "
    "made or endorsed by them.\n\n"
    "By choosing \"I Agree\" you accept these terms.");

TermsDialog::TermsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("VYRN Terms of Use"));
    setStyleSheet(QStringLiteral("QDialog { background: #c0c0c0; }"));
    auto* termsText = new QPlainTextEdit(this);
    termsText->setObjectName(QStringLiteral("termsText"));
    termsText->setReadOnly(true);
    termsText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    termsText->setPlainText(kTerms);
    auto* agree = new QPushButton(QStringLiteral("I Agree"), this);
    agree->setObjectName(QStringLiteral("agreeButton"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(agree, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(agree);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(termsText, 1);
    layout->addLayout(buttons);
    resize(twips(4140), twips(5490));
    centreOnScreen(this);
}
