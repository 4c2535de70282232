#include <gtest/gtest.h>

#include <QFileInfo>

#include "launch/Launch.h"
#include "query/MainGrids.h"
#include "support/GameInstalls.h"
#include "support/TestSupport.h"

namespace {
struct RecordingEnvironment final : LaunchEnvironment {
    QString startFailure;
    QList<ProcessSpec> started;
    int minimised = 0;
    QString startProcess(const ProcessSpec& p) override {
        started.append(p);
        return startFailure;
    }
    void minimiseWindow() override { ++minimised; }
};

// A Windows install copied from a CD keeps its names in capitals ("UT2004.EXE").
InstalledGame inCapitals(InstalledGame g) {
    const QString upper = QFileInfo(g.executable).path() + "/" + QFileInfo(g.executable).fileName().toUpper();
    QFile::rename(g.executable, upper);
    g.executable = upper;
    return g;
}

// The state after a click on a server of this game code and its reply.
struct SelectedServer : MainState {
    SelectedServer(const QString& code, const QString& port) {
        setUpServerGrid(*this);
        serverGrid.setCellText(1, 7, code);
        serverGrid.setCurrentRow(1);
        panel.address = "10.0.0.1";
        panel.gamePort = port;
    }
};
}  // namespace

// Windows installs run through Wine in their own prefix, native ports by themselves; each path typed
// in another letter case than the files on disk, each port as a reply gives it.
TEST(Launch, EachGameRunsAsItIsInstalledInItsOwnFolder) {
    GameInstalls installs;
    installs.setWineInstalled(true);
    using enum WindowShow;
    const std::tuple<InstalledGame, const char*, const char*, WindowShow> cases[] = {
        {installs.native(Game::UT, "~/.local/share/OldUnreal/UT", "System/ut-bin"), "ut", "7777", Maximised},
        {installs.native(Game::UT2004, "/opt/ut2004", "System/ut2004-bin"), "ut3", " 7777 ", Minimised},
        {installs.wine(Game::UT), "ut", "1", Maximised},
        {installs.wine(Game::UT2003, "Games/ut2003-prefix"), "UT2", "65535", Maximised},
        {inCapitals(installs.wine(Game::UT2004, "Wine Prefixes/steam/pfx")), "Ut3", "7777", Minimised}};
    std::optional<ProcessSpec> last;
    for (const auto& [g, code, port, show] : cases) {
        const QString dir = QFileInfo(g.executable).path();
        AppConfig config;
        const QString name = g.executable.section('/', -1);  // the name as typed: in capitals for Windows
        gamePathOf(config, g.game) =
            dir.chopped(6) + "system/" + (g.prefix.isEmpty() ? name.toLower() : name.toUpper());
        last = planLaunch(SelectedServer(code, port), config).process;
        ASSERT_TRUE(last) << code;
        const auto via = g.prefix.isEmpty() ? QStringList() : QStringList{installs.home() + "/bin/wine"};
        EXPECT_EQ(QStringList{last->program} + last->arguments,
                  (via + QStringList{g.executable, "10.0.0.1:" + QString(port).trimmed()}));
        EXPECT_EQ(last->environment.value("WINEPREFIX"), g.prefix);
        EXPECT_EQ(last->workingFolder, dir);
        EXPECT_EQ(last->show, show);
    }
    // A stand-in for wine writes down where and how it was really started.
    const QString record = installs.home() + "/record.txt";
    const QString wine =
        "#!/bin/sh\nprintf '%s|%s|' \"$(pwd)\" \"$WINEPREFIX\" >'%1'\nprintf '[%s]' \"$@\" >>'%1'\n";
    GameInstalls::write(installs.home() + "/bin/wine", wine.arg(record).toUtf8());
    ASSERT_EQ(startGameProcess(*last), "");
    for (int i = 0; i < 1000 && !GameInstalls::read(record).endsWith(":7777]"); ++i) pumpEvents(10);
    EXPECT_EQ(GameInstalls::read(record), last->workingFolder + "|" + last->environment.value("WINEPREFIX") +
                                              "|[" + last->arguments.join("][") + "]");
}

TEST(Launch, ButtonTellsWhyNothingStartsElseStartsOnceThenEndsOrHides) {
    GameInstalls installs;
    installs.setWineInstalled(false);
    ScriptedPrompter prompts;
    AppConfig config;
    config.utPath = installs.native(Game::UT, "/opt/ut", "System/ut-bin").executable;
    config.ut2004Path = installs.wine(Game::UT2004).executable;
    config.ut2003Path = QFileInfo(config.ut2004Path).path();  // a folder, not a program
    QList<std::tuple<QString, QString, QString>> refused = {
        {"ut2", "7777", "You must specify the correct path to UT2003!"},
        {"ut3", "7777", "The game needs Wine to start. Install the wine package."},
        {"UT2004", "7777", unknownGameMessage("UT2004")}};
    for (const char* port : {"", "0", "65536", "7777 -log", "77a", "-1", "+80", "0000007777"})
        refused.append({"ut", port, kServerDownMessage});  // only a decimal port goes on the command line
    for (const auto& [code, port, message] : refused) {
        const LaunchPlan plan = planLaunch(SelectedServer(code, port), config);
        EXPECT_EQ(plan.message.value_or(Message{}).text, message) << code.toStdString() << port.toStdString();
        EXPECT_FALSE(plan.process);
    }
    // AfterLaunch, whether the game starts, whether VYRN then hides to the tray or ends.
    const std::tuple<const char*, bool, int, int> cases[] = {
        {"2", true, 1, 0},    {" 2 ", true, 1, 0}, {"1", true, 0, 1}, {"", true, 0, 1},
        {"tray", true, 0, 1}, {"3", true, 0, 1},   {"2", false, 0, 0}};
    for (const auto& [after, starts, hidden, endings] : cases) {
        ProgramEndRecorder ended;
        RecordingEnvironment env;
        env.startFailure = starts ? QString() : "Permission denied";
        config.afterLaunch = after;
        SelectedServer s("ut", "7777");
        s.autoScanTimer.setEnabled(true);
        s.autoScanMode = true;
        launchSelectedServer(s, config, env);
        EXPECT_EQ(env.started.size(), 1);
        EXPECT_EQ(std::pair(env.minimised, ended.count), std::pair(hidden, endings)) << after;
        EXPECT_EQ(std::pair(s.autoScanTimer.isEnabled(), s.autoScanMode), std::pair(hidden == 0, hidden == 0))
            << after;
    }
    EXPECT_EQ(prompts.shown.value(prompts.shown.size() - 1).text,
              "The game could not be started: " + config.utPath + " (Permission denied)");
    // The system's own words for a program that cannot run.
    QFile(config.utPath).setPermissions(QFile::ReadOwner);
    EXPECT_EQ(startGameProcess({config.utPath, {}, installs.home(), {}, {}}), "Permission denied");
}
