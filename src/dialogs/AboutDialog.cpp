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
    auto* picture1 = new QLabel(this);
    picture1->setPixmap(vyrnLogo(48));
    picture1->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture1);
    layout->addWidget(centredLabel(QStringLiteral("version 3.0"), arial(1.0, true), this));
    auto* command1 = new QPushButton(QStringLiteral("OK"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setDefault(true);
    connect(command1, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(command1, 0, Qt::AlignHCenter);

    auto* link = new ClickableLabel(this);
    link->setObjectName(QStringLiteral("Label3"));
    link->setText(kWebAddress);
    link->setTextFormat(Qt::PlainText);
    QFont linkFont = arial(1.0);
    linkFont.setUnderline(true);
    link->setFont(linkFont);
    link->setAlignment(Qt::AlignCenter);
    link->setStyleSheet(QStringLiteral("color: blue"));
    link->setCursor(Qt::PointingHandCursor);
    link->clicked = [this] { Label3_Click(); };
    Label3 = link;
    layout->addWidget(link);
    layout->addWidget(centredLabel(QStringLiteral("by the VYRN developers"), arial(1.0, true), this));
    centreOnScreen(this);
}

void AboutDialog::Label3_Click() { ExecuteLink(kWebAddress); }
