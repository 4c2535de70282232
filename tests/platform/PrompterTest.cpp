#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "platform/Prompter.h"

// The real Qt box: a folder's name shows as typed, and Enter presses the button the
// question names (No before a delete), not the box's usual Yes.
TEST(Prompter, TextIsNeverMarkupAndEnterPressesTheNamedDefault) {
    const QString text = QStringLiteral("Delete /home/p/<b>Shots</b>/Shot0001.bmp?");
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->text(), text);
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(prompter().ask({text, MsgIcon::Question, kAppTitle, MsgButtons::YesNo, MsgAnswer::No}),
              MsgAnswer::No);
}
