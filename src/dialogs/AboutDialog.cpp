#include "dialogs/AboutDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/AppLogo.h"
#include "dialogs/DialogPlacement.h"
#include "platform/ExecuteLink.h"

const QString AboutDialog::kWebAddress = QStringLiteral("https://vyrn.example.org");

namespace {
// Arial at a size relative to the system's (8.25 point in the old box is the system's
// own size), so the box grows with larger fonts and higher DPI.
QFont arial(double timesSystem, bool italic = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(QApplication::font().pointSizeF() * timesSystem);
    font.setItalic(italic);
    return font;
}

QLabel* centredLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

class ClickableLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> clicked;

protected:
    void mousePressEvent(QMouseEvent*) override { if (clicked) clicked(); }
};
}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About VYRN"));
    auto* layout = new QVBoxLayout(this);
    // The box takes the size of what it shows, and no more.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(centredLabel(QStringLiteral("VYRN"), arial(15.75 / 8.25), this));
    auto* logo = new QLabel(this);
    logo->setPixmap(vyrnLogo(48));
    logo->setAlignment(Qt::AlignCenter);
    layout->addWidget(logo);
    layout->addWidget(centredLabel(QStringLiteral("version 3.0"), arial(1.0, true), this));
    auto* okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(okButton, 0, Qt::AlignHCenter);

    auto* link = new ClickableLabel(this);
    link->setObjectName(QStringLiteral("webLink"));
    link->setText(kWebAddress);
    link->setTextFormat(Qt::PlainText);
    QFont linkFont = arial(1.0);
    linkFont.setUnderline(true);
    link->setFont(linkFont);
    link->setAlignment(Qt::AlignCenter);
    link->setStyleSheet(QStringLiteral("color: blue"));
    link->setCursor(Qt::PointingHandCursor);
    link->clicked = [this] { onWebLinkClicked(); };
    webLink = link;
    layout->addWidget(link);
    layout->addWidget(centredLabel(QStringLiteral("by the VYRN developers"), arial(1.0, true), this));
    centreOnScreen(this);
}

void AboutDialog::onWebLinkClicked() { executeLink(kWebAddress); }
