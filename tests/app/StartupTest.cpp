#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/Startup.h"
#include "platform/FileIO.h"
#include "state/AppConfig.h"
#include "support/TestSupport.h"

namespace {
class MissingLibraries : public PictureLibraries {
public:
    bool present() const override { return false; }
    void install() override { ++installs; }
    int installs = 0;
};

// A program folder, scripted message boxes and the start-up windows recorded in order.
struct Start {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    ProgramEndRecorder ended;
    QStringList steps;
    bool agree = true;
    bool otherInstance = false;
    MissingLibraries missing;
    MainState s;

    bool run(bool librariesMissing = false, MainState* state = nullptr) {
        StartupHooks h;
        h.anotherInstanceRunning = [this] { return otherInstance; };
        h.showAbout = [this] { steps << "about"; };
        h.showAgreement = [this] { steps << "terms"; return agree; };
        h.showFirstRunSettings = [this] {
            steps << "settings";
            folder.write("vyrn.ini", "\r\n\r\n\r\n1\r\n 2 \r\n\r\n\r\n\r\n");
        };
        if (librariesMissing) h.libraries = &missing;
        return runStartup(state ? *state : s, h);
    }
};
}  // namespace

TEST(Startup, SecondInstanceIsRefused) {
    Start t;
    t.otherInstance = true;
    EXPECT_FALSE(t.run());
    ASSERT_EQ(t.prompts.shown.size(), 1);
    EXPECT_EQ(t.prompts.shown[0].text, "Another instance of VYRN is already running!");
    EXPECT_EQ(t.prompts.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(t.prompts.shown[0].title, "VYRN v3.0");
    EXPECT_EQ(t.ended.count, 1);
    EXPECT_TRUE(t.steps.isEmpty());
}

TEST(Startup, FirstRunShowsAboutTermsAndSettingsInOrder) {
    Start t;
    EXPECT_TRUE(t.run());
    EXPECT_EQ(t.steps, (QStringList{"about", "terms", "settings"}));
    EXPECT_TRUE(t.s.ReadyToQuery);
    EXPECT_TRUE(t.s.AutoScan.Enabled());
    EXPECT_EQ(appConfig().RefreshDelay, " 2 ");
    // Built-in libraries are present and the flag is false: nothing is rewritten.
    EXPECT_EQ(t.folder.read("vyrn.ini"), "\r\n\r\n\r\n1\r\n 2 \r\n\r\n\r\n\r\n");
    EXPECT_TRUE(t.prompts.shown.isEmpty());
}

TEST(Startup, DecliningTheTermsEndsBeforeAnyFileIsWritten) {
    Start t;
    t.agree = false;
    EXPECT_FALSE(t.run());
    EXPECT_EQ(t.steps, (QStringList{"about", "terms"}));
    EXPECT_EQ(t.ended.count, 1);
    EXPECT_FALSE(t.folder.exists("vyrn.ini"));
}

// "No" stores True so the offer does not come again; "Yes" installs and keeps False.
TEST(Startup, LibraryOfferStoresTheAnswer) {
    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        const bool no = answer == MsgAnswer::No;
        Start t;
        t.folder.write("vyrn.ini", "a\r\nb\r\nc\r\n1\r\n2\r\nFalse\r\n\r\n\r\n");
        t.prompts.answers = {answer};
        ASSERT_TRUE(t.run(true));
        ASSERT_EQ(t.prompts.shown.size(), 1);
        EXPECT_EQ(t.prompts.shown[0].text, kLibraryOffer);
        EXPECT_EQ(t.prompts.shown[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(t.missing.installs, no ? 0 : 1);
        EXPECT_EQ(t.folder.read("vyrn.ini"),
                  QByteArray("a\r\nb\r\nc\r\n1\r\n2\r\n") + (no ? "True" : "False") + "\r\n\r\n\r\n");
        MainState again;
        ASSERT_TRUE(t.run(true, &again));
        EXPECT_EQ(t.prompts.shown.size(), no ? 1 : 2);
    }
}

TEST(Startup, SkipFlagAlwaysRewritesTheFile) {
    Start t;
    t.folder.write("vyrn.ini", "a\r\nb\r\nc\r\n1\r\n2\r\nyes please\r\n/s\r\n/s");
    ASSERT_TRUE(t.run());
    EXPECT_EQ(t.folder.read("vyrn.ini"), "a\r\nb\r\nc\r\n1\r\n2\r\nTrue\r\n/s\r\n/s\r\n");
    EXPECT_TRUE(t.prompts.shown.isEmpty());
}

TEST(Startup, FirstRunOffersMissingLibrariesEvenWhenAnOldFileSaidSkip) {
    Start t;
    t.s.SkipDllPrompt = true;
    t.prompts.answers = {MsgAnswer::No};
    ASSERT_TRUE(t.run(true));
    EXPECT_EQ(t.prompts.shown.size(), 1);
}

TEST(Startup, AFileTooBigToReadIsToldAndKept) {
    Start t;
    t.folder.write("vyrn.ini", "a\r\nb\r\nc\r\n1\r\n2\r\nTrue\r\n\r\n\r\n");
    {
        QFile big(t.folder.file("servers.ini"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(kMaxReadBytes + 1));  // sparse
    }
    ASSERT_TRUE(t.run());
    ASSERT_EQ(t.prompts.shown.size(), 1);
    EXPECT_EQ(t.prompts.shown[0].text, "VYRN could not read servers.ini in " + t.folder.path() +
                                           ": it is larger than 64 MiB. VYRN will not write over it. "
                                           "Move it away or make it smaller to start afresh.");
    EXPECT_EQ(t.prompts.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(QFileInfo(t.folder.file("servers.ini")).size(), kMaxReadBytes + 1);
}

TEST(Startup, OldFormatFileIsResetAndTheProgramEnds) {
    for (const bool copyFails : {false, true}) {
        SCOPED_TRACE(copyFails ? "copy refused" : "copied");
        Start t;
        const QByteArray old = "I accept the Agreement\r\nSERVER=10.0.0.1\r\nSERVERPORT=7778\r\n";
        t.folder.write("vyrn.ini", old);
        if (copyFails) QDir(t.folder.path()).mkpath("old-vyrn.ini/x");
        t.prompts.answers = {MsgAnswer::No, MsgAnswer::Ok};
        EXPECT_FALSE(t.run());
        const auto& shown = t.prompts.shown;
        ASSERT_EQ(shown.size(), 2);
        EXPECT_EQ(shown[0].text, kOldFormatQuestion);
        EXPECT_EQ(shown[0].title, "VYRN 3.0");
        EXPECT_EQ(shown[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(t.ended.count, 1);
        if (copyFails) {
            EXPECT_TRUE(shown[1].text.startsWith("VYRN could not save old-vyrn.ini in " + t.folder.path()));
            EXPECT_TRUE(shown[1].text.endsWith("vyrn.ini was kept; the question comes again at the next start."));
            EXPECT_EQ(t.folder.read("vyrn.ini"), old);
        } else {
            EXPECT_EQ(shown[1].text, "Please restart VYRN.");
            EXPECT_EQ(shown[1].icon, MsgIcon::Information);
            EXPECT_FALSE(t.folder.exists("vyrn.ini"));
            EXPECT_EQ(t.folder.read("old-vyrn.ini"), old);
        }
    }
}
