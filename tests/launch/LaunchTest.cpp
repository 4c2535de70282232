#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "launch/Launch.h"
#include "platform/ProcessStarter.h"
#include "query/MainGrids.h"
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

// A game folder in a temporary place, with an executable file of the given name.
struct GameInstall {
    QTemporaryDir dir;
    QString exe;
    explicit GameInstall(const QString& relative) {
        exe = dir.filePath(relative);
        QDir().mkpath(QFileInfo(exe).absolutePath());
        QFile f(exe);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(f.permissions() | QFile::ExeOwner);
    }
};

// The state after a click on a server of this game code and its reply.
struct SelectedServer : MainState {
    SelectedServer(const QString& code, const QString& port) { select(*this, code, port); }
    static void select(MainState& s, const QString& code, const QString& port);
};

void SelectedServer::select(MainState& s, const QString& code, const QString& port) {
    SetupServerGrid(s);
    s.ServerGrid.setTextMatrix(1, 7, code);
    s.ServerGrid.setRow(1);
    s.panel.Text1 = "10.0.0.1";
    s.panel.Text2 = port;
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

TEST(Launch, EachGameStartsInItsFolderWithAddressAndPort) {
    GameInstall ut("UT/System/UnrealTournament.exe");
    GameInstall ut2003("UT 2003/System/UT2003.EXE");
    GameInstall ut2004("UT2004/System/ut2004.exe");
    AppConfig config;
    config.UtPath = ut.exe;
    config.Ut2003Path = ut2003.exe;
    config.Ut2004Path = ut2004.exe;
    const struct { const char* code; QString exe; WindowShow show; } cases[] = {
        {"ut", ut.exe, WindowShow::Maximised},
        {"UT2", ut2003.exe, WindowShow::Maximised},
        {"Ut3", ut2004.exe, WindowShow::Minimised}};
    for (const auto& c : cases) {
        const LaunchPlan plan = planLaunch(SelectedServer(c.code, "7777"), config);
        ASSERT_TRUE(plan.process) << c.code;
        EXPECT_EQ(plan.process->program, "wine");
        EXPECT_EQ(plan.process->arguments, (QStringList{c.exe, "10.0.0.1:7777"}));
        EXPECT_EQ(plan.process->workingFolder, QFileInfo(c.exe).absolutePath());
        EXPECT_EQ(plan.process->show, c.show);
    }
}

TEST(Launch, MessagesStopBeforeAnythingStarts) {
    ScriptedPrompter prompts;
    ProgramEndRecorder ended;
    RecordingEnvironment env;
    AppConfig config;
    config.AfterLaunch = "1";
    config.UtPath = "/nowhere/UnrealTournament.exe";
    const struct { const char* code; const char* port; const char* message; } cases[] = {
        {"ut", "", "Cannot launch into server. Server down."},
        {"ut", "7777 -log", "Cannot launch into server. Server down."},
        {"ut", "7777", "You must specify the correct path to UT!"},
        {"ut2", "7777", "You must specify the correct path to UT2003!"},
        {"ut3", "7777", "You must specify the correct path to UT2004!"}};
    for (const auto& c : cases) {
        SelectedServer s(c.code, c.port);
        Command1_Click(s, config, env);
        ASSERT_FALSE(prompts.shown.isEmpty());
        EXPECT_EQ(prompts.shown.last().text, c.message);
        EXPECT_EQ(prompts.shown.last().icon, MsgIcon::Critical);
        EXPECT_EQ(prompts.shown.last().title, "VYRN v3.0");
    }
    EXPECT_TRUE(env.started.isEmpty());
    EXPECT_EQ(ended.count, 0);
    EXPECT_EQ(env.minimised, 0);
}

TEST(Launch, AfterLaunchEndsOrHidesToTheTray) {
    GameInstall ut("UT/System/UnrealTournament.exe");
    const struct { const char* after; bool hides; } cases[] = {
        {"2", true}, {" 2 ", true}, {"1", false}, {"", false}, {"tray", false}};
    for (const auto& c : cases) {
        ProgramEndRecorder ended;
        RecordingEnvironment env;
        AppConfig config;
        config.UtPath = ut.exe;
        config.AfterLaunch = c.after;
        SelectedServer s("ut", "7777");
        s.AutoScan.setEnabled(true);
        s.AutoScanMode = true;
        Command1_Click(s, config, env);
        EXPECT_EQ(env.started.size(), 1);
        EXPECT_EQ(env.minimised, c.hides ? 1 : 0) << c.after;
        EXPECT_EQ(ended.count, c.hides ? 0 : 1) << c.after;
        if (c.hides) {
            EXPECT_FALSE(s.AutoScan.Enabled());
            EXPECT_FALSE(s.AutoScanMode);
        }
    }
}

TEST(Launch, UnknownGameStartsNothingButStillEnds) {
    ProgramEndRecorder ended;
    RecordingEnvironment env;
    AppConfig config;
    SelectedServer s("quake", "27960");
    Command1_Click(s, config, env);
    EXPECT_TRUE(env.started.isEmpty());
    EXPECT_EQ(ended.count, 1);
}

TEST(Launch, ProcessThatCannotStartIsReportedAndVyrnStays) {
    GameInstall ut("UT/System/UnrealTournament.exe");
    ScriptedPrompter prompts;
    ProgramEndRecorder ended;
    RecordingEnvironment env;
    env.startResult = false;
    AppConfig config;
    config.UtPath = ut.exe;
    config.AfterLaunch = "1";
    SelectedServer s("ut", "7777");
    Command1_Click(s, config, env);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, cannotStartMessage("wine"));
    EXPECT_EQ(ended.count, 0);
}

TEST(Launch, NativeGameReallyStartsWithItsArgumentsInItsFolder) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("Game Folder/System");
    QDir().mkpath(folder);
    const QString record = dir.filePath("record.txt");
    const QString game = folder + "/ut2004-bin";
    QFile script(game);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QString("#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > '%1.tmp'\n"
                         "mv '%1.tmp' '%1'\n").arg(record).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);

    AppConfig config;
    config.Ut2004Path = game;
    const LaunchPlan plan = planLaunch(SelectedServer("ut3", "7777"), config);
    ASSERT_TRUE(plan.process);
    EXPECT_EQ(plan.process->program, game);
    ASSERT_TRUE(startDetachedProcess(plan.process->program, plan.process->arguments,
                                     plan.process->workingFolder));
    for (int i = 0; i < 200 && !QFile::exists(record); ++i) pumpEvents(10);
    QFile out(record);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), (folder + "\n[10.0.0.1:7777]\n").toUtf8());
    EXPECT_FALSE(startDetachedProcess(dir.filePath("missing"), {}, folder));
}
