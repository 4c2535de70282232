#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/Startup.h"
#include "platform/FileIO.h"
#include "state/AppConfig.h"
#include "support/TestSupport.h"

namespace {
// A program folder, scripted message boxes and the start-up windows recorded in order.
struct Start {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    ProgramEndRecorder ended;
    QStringList steps;
    bool agree = true;
    MainState s;

    bool run(bool otherInstance = false) {
        StartupHooks h;
        h.anotherInstanceRunning = [otherInstance] { return otherInstance; };
        h.showAbout = [this] { steps << "about"; };
        h.showAgreement = [this] {
            steps << "terms";
            return agree;
        };
        h.showFirstRunSettings = [this] {
            steps << "settings";
            folder.write("vyrn.ini", "\r\n\r\n\r\n1\r\n 2 \r\n\r\n\r\n\r\n");
        };
        return runStartup(s, h);
    }
};
}  // namespace

TEST(Startup, ASecondInstanceEndsAndAFirstRunShowsAboutTermsAndSettingsInOrder) {
    Start second;
    EXPECT_FALSE(second.run(true));
    EXPECT_EQ(second.prompts.shown.size(), 1);
    EXPECT_EQ(second.ended.count, 1);
    EXPECT_TRUE(second.steps.isEmpty());

    Start t;
    EXPECT_TRUE(t.run());
    EXPECT_EQ(t.steps, (QStringList{"about", "terms", "settings"}));
    EXPECT_TRUE(t.s.readyToQuery && t.s.autoScanTimer.isEnabled());
    EXPECT_EQ(appConfig().refreshDelay, " 2 ");
    EXPECT_TRUE(t.prompts.shown.isEmpty());

    Start declined;
    declined.agree = false;
    EXPECT_FALSE(declined.run());
    EXPECT_EQ(declined.steps, (QStringList{"about", "terms"}));
    EXPECT_EQ(declined.ended.count, 1);
    EXPECT_FALSE(declined.folder.exists("vyrn.ini"));  // declining the terms writes nothing
}

// Line 6 once held the answer to an offer of picture libraries, which are built in now.
TEST(Startup, LineSixIsRewrittenAsTrueUnlessItIsExactlyFalse) {
    for (const QByteArray line6 : {"False", "false", "yes please"}) {
        Start t;
        const QByteArray file = "a\r\nb\r\nc\r\n1\r\n2\r\n" + line6 + "\r\n/s\r\n/s";
        t.folder.write("vyrn.ini", file);
        ASSERT_TRUE(t.run());
        EXPECT_EQ(t.folder.read("vyrn.ini"),
                  line6 == "False"
                      ? file
                      : "a\r\nb\r\nc\r\n1\r\n2\r\nTrue\r\n/s\r\n/s");  // no last line end, as before
        EXPECT_TRUE(t.prompts.shown.isEmpty());
    }
}

TEST(Startup, AFileTooBigToReadIsToldAndKept) {
    Start t;
    t.folder.write("vyrn.ini", "a\r\nb\r\nc\r\n1\r\n2\r\nTrue\r\n\r\n\r\n");
    QFile big(t.folder.file("servers.ini"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(kMaxReadBytes + 1));  // sparse
    big.close();
    ASSERT_TRUE(t.run());
    ASSERT_EQ(t.prompts.shown.size(), 1);
    EXPECT_TRUE(
        t.prompts.shown[0].text.contains("servers.ini in " + t.folder.path() + ": it is larger than 64 MiB"));
    EXPECT_EQ(QFile(t.folder.file("servers.ini")).size(), kMaxReadBytes + 1);
}

// A file of an older version is moved to "old-vyrn.ini", or kept whole with nothing
// imported when it cannot be; either way the program ends.
TEST(Startup, OldFormatFileIsResetAndTheProgramEnds) {
    for (const bool copyFails : {false, true}) {
        SCOPED_TRACE(copyFails ? "copy refused" : "copied");
        Start t;
        const QByteArray old = "I accept the Agreement\r\nSERVER=10.0.0.1\r\nSERVERPORT=7778\r\n";
        t.folder.write("vyrn.ini", old);
        if (copyFails) QDir(t.folder.path()).mkpath("old-vyrn.ini/x");
        t.prompts.answers = {copyFails ? MsgAnswer::Yes : MsgAnswer::No, MsgAnswer::Ok};
        EXPECT_FALSE(t.run());
        ASSERT_EQ(t.prompts.shown.size(), 2);
        EXPECT_EQ(t.prompts.shown[0].text, kOldFormatQuestion);
        EXPECT_EQ(t.ended.count, 1);
        EXPECT_FALSE(t.folder.exists("servers.ini"));  // nothing imported that a retry would import again
        EXPECT_EQ(t.folder.read(copyFails ? "vyrn.ini" : "old-vyrn.ini"), old);
        EXPECT_EQ(t.folder.exists("vyrn.ini"), copyFails);
        EXPECT_TRUE(t.prompts.shown[1].text.endsWith(copyFails ? "the question comes again at the next start."
                                                               : "Please restart VYRN."));
    }
}
