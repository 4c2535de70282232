#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/Prompter.h"

TEST(Prompter, MessageTextIsNeverMarkup) {
    Qt::TextFormat shownAs = Qt::AutoText;
    QString shownText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shownAs = box->textFormat();
        shownText = box->text();
        box->accept();
    });
    const QString text = QStringLiteral("This server's game code \"<b>UT</b>\" is unknown");
    prompter().ask({text, MsgIcon::Exclamation});
    EXPECT_EQ(shownAs, Qt::PlainText);
    EXPECT_EQ(shownText, text);
}
