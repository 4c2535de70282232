#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "launch/Launch.h"
#include "query/MainGrids.h"
#include "support/GameInstalls.h"
#include "support/TestSupport.h"

namespace {
class RecordingEnvironment final : public LaunchEnvironment {
public:
    bool startResult = true;
    QList<ProcessSpec> started;
    int minimised = 0;
    bool startProcess(const ProcessSpec& p) override {
        started.append(p);
        return startResult;
    }
    void minimiseWindow() override { ++minimised; }
};

// The state after a click on a server of this game code and its reply.
struct SelectedServer : MainState {
    SelectedServer(const QString& code, const QString& port) {
        SetupServerGrid(*this);
        ServerGrid.setTextMatrix(1, 7, code);
        ServerGrid.setRow(1);
        panel.Text1 = "10.0.0.1";
        panel.Text2 = port;
    }
};

AppConfig configWith(const InstalledGame& g) {
    AppConfig config;
    gamePathOf(config, g.game) = g.executable;
    return config;
}
}  // namespace

TEST(Launch, GamePortMustBeADecimalPort) {
    const struct { const char* text; std::optional<int> port; } cases[] = {
        {"7777", 7777}, {" 7777 ", 7777}, {"1", 1}, {"65535", 65535},
        {"", std::nullopt}, {"0", std::nullopt}, {"65536", std::nullopt},
        {"7777 -log", std::nullopt}, {"77a", std::nullopt}, {"-1", std::nullopt},
        {"+80", std::nullopt}, {"0000007777", std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(parseGamePort(c.text), c.port) << c.text;
}

TEST(Launch, WindowsGameRunsThroughWineInTheGamesOwnPrefix) {
    GameInstalls installs;
    installs.setWineInstalled(true);
    const struct { Game game; const char* code; const char* prefix; WindowShow show; } cases[] = {
        {Game::UT, "ut", ".wine", WindowShow::Maximised},
        {Game::UT2003, "UT2", "Games/ut2003-prefix", WindowShow::Maximised},
        {Game::UT2004, "Ut3", ".steam/steam/steamapps/compatdata/13230/pfx", WindowShow::Minimised}};
    for (const auto& c : cases) {
        const InstalledGame g = installs.wine(c.game, c.prefix);
        AppConfig config = configWith(g);
        // Typed by hand in another letter case than the file on disk.
        gamePathOf(config, c.game) = QFileInfo(g.executable).path().replace("/System", "/system") + "/" +
                                     QFileInfo(g.executable).fileName().toLower();
        const LaunchPlan plan = planLaunch(SelectedServer(c.code, "7777"), config);
        ASSERT_TRUE(plan.process) << c.code;
        EXPECT_EQ(plan.process->program, installs.home() + "/bin/wine");
        EXPECT_EQ(plan.process->arguments, (QStringList{g.executable, "10.0.0.1:7777"}));
        EXPECT_EQ(plan.process->workingFolder, QFileInfo(g.executable).path());
        EXPECT_EQ(plan.process->environment, (QMap<QString, QString>{{"WINEPREFIX", g.prefix}}));
        EXPECT_EQ(plan.process->show, c.show);
    }
}

TEST(Launch, NativePortRunsByItselfInItsFolder) {
    GameInstalls installs;
    installs.setWineInstalled(false);
    const InstalledGame ut = installs.native(Game::UT, "~/.local/share/OldUnreal/UnrealTournament");
    const InstalledGame ut2004 = installs.native(Game::UT2004, "/usr/local/games/ut2004", "System/ut2004-bin");
    for (const auto& [g, code] : {std::pair{ut, "ut"}, std::pair{ut2004, "ut3"}}) {
        const LaunchPlan plan = planLaunch(SelectedServer(code, "7777"), configWith(g));
        ASSERT_TRUE(plan.process) << code;
        EXPECT_EQ(plan.process->program, g.executable);
        EXPECT_EQ(plan.process->arguments, QStringList{"10.0.0.1:7777"});
        EXPECT_EQ(plan.process->workingFolder, QFileInfo(g.executable).path());
        EXPECT_TRUE(plan.process->environment.isEmpty());
    }
}

TEST(Launch, MessagesStopBeforeAnythingStarts) {
    GameInstalls installs;
    installs.setWineInstalled(false);
    const InstalledGame ut2004 = installs.wine(Game::UT2004);
    ScriptedPrompter prompts;
    ProgramEndRecorder ended;
    RecordingEnvironment env;
    AppConfig config;
    config.AfterLaunch = "1";
    config.UtPath = "/nowhere/UnrealTournament.exe";
    config.Ut2003Path = QFileInfo(ut2004.executable).path();  // a folder, not a program
    config.Ut2004Path = ut2004.executable;
    const struct { const char* code; const char* port; QString message; MsgIcon icon; } cases[] = {
        {"ut", "", "Cannot launch into server. Server down.", MsgIcon::Critical},
        {"ut", "7777 -log", "Cannot launch into server. Server down.", MsgIcon::Critical},
        {"ut", "7777", "You must specify the correct path to UT!", MsgIcon::Critical},
        {"ut2", "7777", "You must specify the correct path to UT2003!", MsgIcon::Critical},
        {"ut3", "7777", "The game needs Wine to start. Install the wine package.", MsgIcon::Critical},
        {"UT2004", "7777", unknownGameMessage("UT2004"), MsgIcon::Exclamation}};
    for (const auto& c : cases) {
        SelectedServer s(c.code, c.port);
        Command1_Click(s, config, env);
        ASSERT_FALSE(prompts.shown.isEmpty());
        EXPECT_EQ(prompts.shown.last().text, c.message);
        EXPECT_EQ(prompts.shown.last().icon, c.icon);
        EXPECT_EQ(prompts.shown.last().title, "VYRN v3.0");
    }
    EXPECT_TRUE(unknownGameMessage("UT2004").contains("\"UT2004\""));
    EXPECT_TRUE(env.started.isEmpty());
    EXPECT_EQ(ended.count, 0);
    EXPECT_EQ(env.minimised, 0);
}

TEST(Launch, AfterLaunchEndsOrHidesToTheTray) {
    GameInstalls installs;
    const InstalledGame ut = installs.native(Game::UT, "/usr/local/games/ut", "System/ut-bin");
    const struct { const char* after; bool hides; } cases[] = {
        {"2", true}, {" 2 ", true}, {"1", false}, {"", false}, {"tray", false}};
    for (const auto& c : cases) {
        ProgramEndRecorder ended;
        RecordingEnvironment env;
        AppConfig config = configWith(ut);
        config.AfterLaunch = c.after;
        SelectedServer s("ut", "7777");
        s.AutoScan.setEnabled(true);
        s.AutoScanMode = true;
        Command1_Click(s, config, env);
        EXPECT_EQ(env.started.size(), 1);
        EXPECT_EQ(env.minimised, c.hides ? 1 : 0) << c.after;
        EXPECT_EQ(ended.count, c.hides ? 0 : 1) << c.after;
        EXPECT_EQ(s.AutoScan.Enabled(), !c.hides);
        EXPECT_EQ(s.AutoScanMode, !c.hides);
    }
}

TEST(Launch, ProcessThatCannotStartIsReportedAndVyrnStays) {
    GameInstalls installs;
    const InstalledGame ut = installs.native(Game::UT, "/usr/local/games/ut", "System/ut-bin");
    ScriptedPrompter prompts;
    ProgramEndRecorder ended;
    RecordingEnvironment env;
    env.startResult = false;
    AppConfig config = configWith(ut);
    config.AfterLaunch = "1";
    SelectedServer s("ut", "7777");
    Command1_Click(s, config, env);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, cannotStartMessage(ut.executable));
    EXPECT_EQ(ended.count, 0);
}

TEST(Launch, WineReallyStartsTheGameInItsPrefixAndFolder) {
    GameInstalls installs;
    installs.setWineInstalled(true);
    const InstalledGame g = installs.wine(Game::UT2004, "Wine Prefixes/ut2004");
    const QString record = installs.home() + "/record.txt";
    // A stand-in for wine that writes down where and how it was started.
    GameInstalls::write(installs.home() + "/bin/wine",
                        QString("#!/bin/sh\nPATH=/usr/bin:/bin\n{ pwd; echo \"$WINEPREFIX\"; for a in \"$@\"; do echo \"[$a]\"; done; }"
                                " > '%1.tmp'\nmv '%1.tmp' '%1'\n").arg(record).toUtf8());
    const LaunchPlan plan = planLaunch(SelectedServer("ut3", "7777"), configWith(g));
    ASSERT_TRUE(plan.process);
    ASSERT_TRUE(startGameProcess(*plan.process));
    for (int i = 0; i < 200 && !QFile::exists(record); ++i) pumpEvents(10);
    const QString system = QFileInfo(g.executable).path();
    EXPECT_EQ(GameInstalls::read(record),
              (system + "\n" + g.prefix + "\n[" + g.executable + "]\n[10.0.0.1:7777]\n").toUtf8());
    EXPECT_FALSE(startGameProcess({installs.home() + "/missing", {}, system, {}, WindowShow::Maximised}));
}
