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

struct Recorder {
    QStringList steps;
    bool agree = true;
    bool otherInstance = false;
    MissingLibraries missing;
    TempProgramFolder* folder = nullptr;

    StartupHooks hooks(bool librariesMissing = false) {
        StartupHooks h;
        h.anotherInstanceRunning = [this] { return otherInstance; };
        h.showAbout = [this] { steps << "about"; };
        h.showAgreement = [this] { steps << "terms"; return agree; };
        h.showFirstRunSettings = [this] {
            steps << "settings";
            folder->write("vyrn.ini", "\r\n\r\n\r\n1\r\n 2 \r\n\r\n\r\n\r\n");
        };
        if (librariesMissing) h.libraries = &missing;
        return h;
    }
};
}  // namespace

TEST(Startup, SecondInstanceIsRefused) {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    ProgramEndRecorder ended;
    Recorder r;
    r.folder = &folder;
    r.otherInstance = true;
    MainState s;
    EXPECT_FALSE(runStartup(s, r.hooks()));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "Another instance of VYRN is already running!");
    EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Critical);
    EXPECT_EQ(prompts.shown[0].title, "VYRN v3.0");
    EXPECT_EQ(ended.count, 1);
    EXPECT_TRUE(r.steps.isEmpty());
}

TEST(Startup, FirstRunShowsAboutTermsAndSettingsInOrder) {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    Recorder r;
    r.folder = &folder;
    MainState s;
    EXPECT_TRUE(runStartup(s, r.hooks()));
    EXPECT_EQ(r.steps, (QStringList{"about", "terms", "settings"}));
    EXPECT_TRUE(s.ReadyToQuery);
    EXPECT_TRUE(s.AutoScan.Enabled());
    EXPECT_EQ(appConfig().RefreshDelay, " 2 ");
    // Built-in libraries are present and the flag is false: nothing is rewritten.
    EXPECT_EQ(folder.read("vyrn.ini"), "\r\n\r\n\r\n1\r\n 2 \r\n\r\n\r\n\r\n");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(Startup, DecliningTheTermsEndsBeforeAnyFileIsWritten) {
    TempProgramFolder folder;
    ProgramEndRecorder ended;
    Recorder r;
    r.folder = &folder;
    r.agree = false;
    MainState s;
    EXPECT_FALSE(runStartup(s, r.hooks()));
    EXPECT_EQ(r.steps, (QStringList{"about", "terms"}));
    EXPECT_EQ(ended.count, 1);
    EXPECT_FALSE(folder.exists("vyrn.ini"));
}

TEST(Startup, LibraryOfferAnsweredNoStoresTrueAndIsNotAskedAgain) {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    Recorder r;
    r.folder = &folder;
    folder.write("vyrn.ini", "a\r\nb\r\nc\r\n1\r\n2\r\nFalse\r\n\r\n\r\n");
    prompts.answers = {MsgAnswer::No};
    MainState s;
    ASSERT_TRUE(runStartup(s, r.hooks(true)));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, kLibraryOffer);
    EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(folder.read("vyrn.ini"), "a\r\nb\r\nc\r\n1\r\n2\r\nTrue\r\n\r\n\r\n");

    MainState again;
    ASSERT_TRUE(runStartup(again, r.hooks(true)));
    EXPECT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(r.missing.installs, 0);
}

TEST(Startup, LibraryOfferAnsweredYesInstallsAndStoresFalse) {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    Recorder r;
    r.folder = &folder;
    folder.write("vyrn.ini", "a\r\nb\r\nc\r\n1\r\n2\r\nFalse\r\n\r\n\r\n");
    prompts.answers = {MsgAnswer::Yes};
    MainState s;
    ASSERT_TRUE(runStartup(s, r.hooks(true)));
    EXPECT_EQ(r.missing.installs, 1);
    EXPECT_EQ(folder.read("vyrn.ini"), "a\r\nb\r\nc\r\n1\r\n2\r\nFalse\r\n\r\n\r\n");
}

TEST(Startup, SkipFlagAlwaysRewritesTheFile) {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    Recorder r;
    r.folder = &folder;
    folder.write("vyrn.ini", "a\r\nb\r\nc\r\n1\r\n2\r\nyes please\r\n/s\r\n/s");
    MainState s;
    ASSERT_TRUE(runStartup(s, r.hooks()));
    EXPECT_EQ(folder.read("vyrn.ini"), "a\r\nb\r\nc\r\n1\r\n2\r\nTrue\r\n/s\r\n/s\r\n");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(Startup, FirstRunOffersMissingLibrariesEvenWhenAnOldFileSaidSkip) {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    Recorder r;
    r.folder = &folder;
    MainState s;
    s.SkipDllPrompt = true;
    prompts.answers = {MsgAnswer::No};
    ASSERT_TRUE(runStartup(s, r.hooks(true)));
    EXPECT_EQ(prompts.shown.size(), 1);
}

TEST(Startup, AFileTooBigToReadIsToldAndKept) {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    Recorder r;
    r.folder = &folder;
    folder.write("vyrn.ini", "a\r\nb\r\nc\r\n1\r\n2\r\nTrue\r\n\r\n\r\n");
    {
        QFile big(folder.file("servers.ini"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(kMaxReadBytes + 1));  // sparse
    }
    MainState s;
    ASSERT_TRUE(runStartup(s, r.hooks()));
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, "VYRN could not read servers.ini in " + folder.path() +
                                         ": it is larger than 64 MiB. VYRN will not write over it. "
                                         "Move it away or make it smaller to start afresh.");
    EXPECT_EQ(prompts.shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(QFileInfo(folder.file("servers.ini")).size(), kMaxReadBytes + 1);
}

TEST(Startup, OldFormatFileIsResetAndTheProgramEnds) {
    struct Case {
        const char* what;
        bool copyFails;
    };
    for (const Case& c : {Case{"copied", false}, Case{"copy refused", true}}) {
        SCOPED_TRACE(c.what);
        TempProgramFolder folder;
        ScriptedPrompter prompts;
        ProgramEndRecorder ended;
        Recorder r;
        r.folder = &folder;
        const QByteArray old = "I accept the Agreement\r\nSERVER=10.0.0.1\r\nSERVERPORT=7778\r\n";
        folder.write("vyrn.ini", old);
        if (c.copyFails) QDir(folder.path()).mkpath("old-vyrn.ini/x");
        prompts.answers = {MsgAnswer::No, MsgAnswer::Ok};
        MainState s;
        EXPECT_FALSE(runStartup(s, r.hooks()));
        ASSERT_EQ(prompts.shown.size(), 2);
        EXPECT_EQ(prompts.shown[0].text, kOldFormatQuestion);
        EXPECT_EQ(prompts.shown[0].title, "VYRN 3.0");
        EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(ended.count, 1);
        if (c.copyFails) {
            EXPECT_TRUE(prompts.shown[1].text.startsWith("VYRN could not save old-vyrn.ini in " + folder.path()));
            EXPECT_TRUE(prompts.shown[1].text.endsWith("vyrn.ini was kept; the question comes again at the next start."));
            EXPECT_EQ(folder.read("vyrn.ini"), old);
        } else {
            EXPECT_EQ(prompts.shown[1].text, "Please restart VYRN.");
            EXPECT_EQ(prompts.shown[1].icon, MsgIcon::Information);
            EXPECT_FALSE(folder.exists("vyrn.ini"));
            EXPECT_EQ(folder.read("old-vyrn.ini"), old);
        }
    }
}
