#include "dialogs/frmAbout.h"

#include <QLabel>
#include <QPushButton>

#include "platform/AppLogo.h"
#include "dialogs/DialogPlacement.h"
#include "platform/ExecuteLink.h"

const QString frmAbout::kWebAddress = QStringLiteral("https://vyrn.example.org");

namespace {
QLabel* labelAt(QWidget* parent, const QString& text, double points, bool italic, int left, int top) {
    auto* label = new QLabel(text, parent);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setItalic(italic);
    label->setFont(font);
    label->move(twips(left), twips(top));
    label->adjustSize();
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

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About VYRN"));
    setFixedSize(twips(2190), twips(2610));
    labelAt(this, QStringLiteral("VYRN"), 15.75, false, 680, 0);
    auto* picture1 = new QLabel(this);
    picture1->setPixmap(vyrnLogo(48));
    picture1->setGeometry(twips(720), twips(360), twips(750), twips(750));
    labelAt(this, QStringLiteral("version 3.0"), 8.25, true, 700, 1200);
    auto* command1 = new QPushButton(QStringLiteral("OK"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setGeometry(twips(720), twips(1560), twips(735), twips(375));
    connect(command1, &QPushButton::clicked, this, &QDialog::accept);

    auto* link = new ClickableLabel(kWebAddress, this);
    QFont linkFont(QStringLiteral("Arial"));
    linkFont.setPointSizeF(8.25);
    linkFont.setUnderline(true);
    link->setFont(linkFont);
    link->setStyleSheet(QStringLiteral("color: blue"));
    link->setCursor(Qt::PointingHandCursor);
    link->move(twips(480), twips(2160));
    link->adjustSize();
    link->clicked = [this] { Label3_Click(); };
    Label3 = link;
    labelAt(this, QStringLiteral("by the VYRN developers"), 8.25, true, 405, 2400);
    centreOnScreen(this);
}

void frmAbout::Label3_Click() { ExecuteLink(kWebAddress); }
