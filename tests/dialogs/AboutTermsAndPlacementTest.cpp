#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "dialogs/DialogPlacement.h"
#include "dialogs/ElidedText.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/TermsDialog.h"
#include "platform/ShellOpen.h"
#include "support/TestSupport.h"

namespace {
QRect freeArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

int execClicking(QDialog& dialog, const char* button) {
    QTimer::singleShot(0, [&] { dialog.findChild<QPushButton*>(button)->click(); });
    return dialog.exec();
}
}  // namespace

TEST(AboutAndTerms, WholeOnTheScreenAtLargerFontsAndTheButtonsDoWhatTheySay) {
    const QFont systemFont = QApplication::font();
    for (const double points : {systemFont.pointSizeF(), 12.0, 16.0}) {
        QFont font = systemFont;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        AboutDialog about;
        TermsDialog terms;
        about.show();
        terms.show();
        QApplication::processEvents();
        EXPECT_TRUE(freeArea().contains(about.frameGeometry())) << points;
        EXPECT_TRUE(freeArea().contains(terms.frameGeometry())) << points;
        for (QLabel* label : about.findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;  // the logo
            EXPECT_GE(label->width(), label->sizeHint().width())
                << points << " " << label->text().toStdString();
            EXPECT_TRUE(about.rect().contains(label->geometry()))
                << points << " " << label->text().toStdString();
        }
    }
    QApplication::setFont(systemFont);
    const QRect area(50, 30, 1366, 768);  // a window larger than the free area shrinks to it
    EXPECT_EQ(centredWithin({1516, 900}, area), area);
    EXPECT_EQ(centredWithin({1006, 900}, area), QRect(230, 30, 1006, 768));

    ScriptedPrompter prompts;
    QStringList opened;
    setLinkOpener([&](const QString& link) {
        opened << link;
        return false;  // no browser takes it
    });
    AboutDialog about;
    about.onWebLinkClicked();
    setLinkOpener({});
    EXPECT_EQ(opened, QStringList{AboutDialog::kWebAddress});
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(execClicking(about, "okButton"), QDialog::Accepted);
    TermsDialog agreed, declined;
    EXPECT_EQ(execClicking(agreed, "agreeButton"), QDialog::Accepted);  // "I Agree"
    EXPECT_EQ(execClicking(declined, "cancelButton"), QDialog::Rejected);
}

// The main window's test pins that long texts never widen it; this one pins what the cut shows.
TEST(ElidedText, CutTextEndsInAnEllipsisAndTheTooltipShowsItAllEscaped) {
    ElidedLabel label;
    label.resize(150, 20);
    label.show();
    label.setFullText(QStringLiteral("Map: <font color=red size=7>HACKED</font> <img src=\"/etc/x.png\">"));
    EXPECT_TRUE(label.text().endsWith(QChar(0x2026)));
    EXPECT_TRUE(label.toolTip().contains("&lt;font color=red size=7&gt;")) << label.toolTip().toStdString();
    ElidedGroupBox frame;
    frame.setFullTitle("Slow & steady");  // no shortcut mark
    EXPECT_EQ(frame.title(), "Slow && steady");
}
