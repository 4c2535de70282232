#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "dialogs/DialogPlacement.h"
#include "dialogs/ElidedText.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmagreement.h"
#include "support/TestSupport.h"

namespace {
QRect freeArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// A dialog whose content arrives after construction, as the viewer's and the settings'.
class GrowingDialog : public QDialog {
public:
    GrowingDialog() {
        auto* layout = new QVBoxLayout(this);
        label = new QLabel(QStringLiteral("x"), this);
        layout->addWidget(label);
        centreOnScreen(this);
    }
    QLabel* label;
};
}  // namespace

TEST(Placement, CentredAndNeverBeyondTheFreeArea) {
    const QRect area(0, 0, 1366, 768);
    const struct { QSize window; QRect placed; } cases[] = {
        {{860, 600}, {253, 84, 860, 600}},
        {{861, 601}, {252, 83, 861, 601}},       // halves drop their fraction
        {{1516, 900}, {0, 0, 1366, 768}},        // too large: shrunk to the area
        {{1006, 900}, {180, 0, 1006, 768}},
    };
    for (const auto& c : cases) EXPECT_EQ(centredWithin(c.window, area), c.placed) << c.window.width();
    EXPECT_EQ(centredWithin({100, 100}, QRect(50, 30, 300, 200)), QRect(150, 80, 100, 100));
}

TEST(Placement, WindowIsCentredWithItsRealSizeWhenShown) {
    GrowingDialog dialog;
    dialog.label->setText(QString(60, 'W'));  // much wider once its text is in
    dialog.show();
    QApplication::processEvents();
    const QRect frame = dialog.frameGeometry();
    EXPECT_TRUE(freeArea().contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_LE(std::abs(frame.center().x() - freeArea().center().x()), 2);
    EXPECT_GE(dialog.width(), dialog.label->sizeHint().width());
}

TEST(AboutBox, EveryTextWholeOnTheScreenAtLargerFonts) {
    const QFont systemFont = QApplication::font();
    for (const double points : {systemFont.pointSizeF(), 12.0, 16.0}) {
        QFont font = systemFont;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        frmAbout about;
        frmagreement terms;
        about.show();
        terms.show();
        QApplication::processEvents();
        EXPECT_TRUE(freeArea().contains(about.frameGeometry())) << points;
        EXPECT_TRUE(freeArea().contains(terms.frameGeometry())) << points;
        for (QLabel* label : about.findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;  // the logo
            EXPECT_GE(label->width(), label->sizeHint().width()) << points << " " << label->text().toStdString();
            EXPECT_TRUE(about.rect().contains(label->geometry())) << points << " " << label->text().toStdString();
        }
    }
    QApplication::setFont(systemFont);
}

// The main window's test pins that long texts never widen it; this one pins what the cut shows.
TEST(ElidedText, CutTextEndsInAnEllipsisAndTheTooltipShowsItAllEscaped) {
    ElidedLabel label;
    ElidedGroupBox frame;
    label.resize(150, 20);
    label.show();
    const QString markup = QStringLiteral("Map: <font color=red size=7>HACKED</font> <img src=\"/etc/x.png\">");
    label.setFullText(markup);
    EXPECT_TRUE(label.text().endsWith(QChar(0x2026)));
    EXPECT_EQ(label.fullText(), markup);
    EXPECT_TRUE(label.toolTip().contains("&lt;font color=red size=7&gt;")) << label.toolTip().toStdString();
    frame.setFullTitle("Slow & steady");  // no shortcut mark
    EXPECT_EQ(frame.title(), "Slow && steady");
}
