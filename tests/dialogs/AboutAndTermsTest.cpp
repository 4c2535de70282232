#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "dialogs/frmAbout.h"
#include "dialogs/frmagreement.h"
#include "platform/ShellOpen.h"
#include "support/TestSupport.h"

TEST(AboutBox, ShowsNameVersionAndOpensTheWebLink) {
    frmAbout about;
    EXPECT_EQ(about.windowTitle(), "About VYRN");
    QStringList texts;
    for (QLabel* l : about.findChildren<QLabel*>()) texts << l->text();
    EXPECT_TRUE(texts.contains("VYRN"));
    EXPECT_TRUE(texts.contains("version 3.0"));
    QStringList opened;
    setLinkOpener([&](const QString& link) { opened << link; return true; });
    about.Label3_Click();
    setLinkOpener({});
    EXPECT_EQ(opened, QStringList{frmAbout::kWebAddress});
    // OK closes the modal box.
    QTimer::singleShot(0, [&] { about.findChild<QPushButton*>("Command1")->click(); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

TEST(AboutBox, RefusedLinkIsReported) {
    ScriptedPrompter prompts;
    setLinkOpener([](const QString&) { return false; });
    frmAbout about;
    about.Label3_Click();
    setLinkOpener({});
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "error Opening Link to " + frmAbout::kWebAddress + "\r\n\r\n0");
    EXPECT_EQ(prompts.shown[0].title, "ExecuteLink");
}

TEST(TermsDialog, AgreeAcceptsAndCancelRejects) {
    for (const char* button : {"Command1", "Command2"}) {
        frmagreement terms;
        EXPECT_EQ(terms.findChild<QPlainTextEdit*>("Text1")->toPlainText(), frmagreement::kTerms);
        QTimer::singleShot(0, [&] { terms.findChild<QPushButton*>(button)->click(); });
        const int result = terms.exec();
        EXPECT_EQ(result, QString(button) == "Command1" ? QDialog::Accepted : QDialog::Rejected);
    }
    EXPECT_EQ(frmagreement().findChild<QPushButton*>("Command1")->text(), "I Agree");
}
