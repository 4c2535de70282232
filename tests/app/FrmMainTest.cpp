#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTableView>
#include <QLineEdit>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QScreen>
#include <memory>

#include "dialogs/ElidedText.h"
#include "query/MainGrids.h"
#include "app/FrmMain.h"
#include "support/StandinProcess.h"
#include "support/TestSupport.h"

namespace {
StartupHooks quietHooks() {
    StartupHooks h;
    h.anotherInstanceRunning = [] { return false; };
    return h;
}

// A program folder with settings (autoscan every 200 ms, no library offer) and the main
// window loaded from it.
struct Loaded {
    TempProgramFolder folder;
    std::unique_ptr<FrmMain> w;
    explicit Loaded(const QByteArray& servers = {}, const QByteArray& settings = "\r\n\r\n\r\n1\r\n2\r\nTrue\r\n\r\n\r\n") {
        folder.write("vyrn.ini", settings);
        if (!servers.isEmpty()) folder.write("servers.ini", servers);
        w = std::make_unique<FrmMain>();
        EXPECT_TRUE(w->Form_Load(quietHooks()));
    }
};

QStringList captions(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions)
        if (!a->isSeparator()) out << a->text();
    return out;
}
}  // namespace

TEST(FrmMain, CaptionMenusAndPanelAtRest) {
    Loaded l;
    FrmMain& w = *l.w;
    EXPECT_EQ(w.windowTitle(), "VYRN 3.0");
    EXPECT_EQ(captions(w.menuBar()->actions()),
              (QStringList{"&File..", "&VYRN Settings", "&Game Settings", "&Screenshots..",
                           "&Autoscan: On", "&Help"}));
    EXPECT_EQ(captions(w.fileMenu()->actions()), (QStringList{"Save sorted server list ", "Find Servers...", "E&xit", "Refresh all"}));
    EXPECT_EQ(w.fileMenu()->actions().last()->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(captions(w.screenshotsMenu()->actions()), (QStringList{"UT", "UT2003", "UT2004"}));
    EXPECT_EQ(w.findChild<ElidedGroupBox*>("Frame1")->fullTitle(), "Server Information:");
    EXPECT_EQ(w.findChild<ElidedLabel*>("Label7")->fullText(), "Game Type:");  // design caption until the first clear
    EXPECT_EQ(w.findChild<ElidedLabel*>("Label2")->fullText(), "Admin:");
    auto* launch = w.findChild<QPushButton*>("Command1");
    EXPECT_EQ(launch->text(), "&Launch!");
    EXPECT_EQ(launch->toolTip(), "Launch into the selected server.");
}

// Start-up asks the whole list at once, and so does "Refresh all".
TEST(FrmMain, StartupRoundAndRefreshAllAskEveryFavourite) {
    const int port = testPortBase(1);
    StandinProcess servers({"--game", "ut", "--port", QString::number(port), "--servers", "3", "--name", "Round"});
    ASSERT_TRUE(servers.ready());
    Loaded l(QStringLiteral("127.0.0.1:%1:UT\r\n127.0.0.1:%2:UT\r\n127.0.0.1:%3:UT\r\n").arg(port).arg(port + 1).arg(port + 2).toLatin1(),
             "\r\n\r\n\r\n1\r\n5\r\nTrue\r\n\r\n\r\n");  // a tick every second
    FrmMain& w = *l.w;
    pumpEvents(300);
    for (int row = 1; row <= 3; ++row) EXPECT_EQ(w.state().ServerGrid.TextMatrix(row, 1), QStringLiteral("Round %1").arg(row));
    w.state().AutoScan.setEnabled(false);
    for (int row = 1; row <= 3; ++row) w.state().ServerGrid.setTextMatrix(row, 4, "");
    w.fileMenu()->actions().last()->trigger();
    pumpEvents(300);
    for (int row = 1; row <= 3; ++row) EXPECT_EQ(w.state().ServerGrid.TextMatrix(row, 4), "00/16");
}

TEST(FrmMain, AutoscanToggleMenusAndTheCaption) {
    Loaded l;
    FrmMain& w = *l.w;
    MainState& s = w.state();
    EXPECT_TRUE(s.AutoScan.Enabled());
    w.autoscanAction()->trigger();
    EXPECT_FALSE(s.AutoScan.Enabled());
    EXPECT_FALSE(s.ReadyToQuery);
    EXPECT_FALSE(s.AutoScanMode);
    s.ASIndicator.fire();
    EXPECT_EQ(w.autoscanAction()->text(), "&Autoscan: Off");
    s.panel.Text2 = "7777";
    w.autoscanAction()->trigger();
    EXPECT_TRUE(s.AutoScan.Enabled());
    EXPECT_TRUE(s.ReadyToQuery);
    EXPECT_TRUE(s.AutoScanMode);
    EXPECT_TRUE(s.panel.Text2.isEmpty());  // the panel is cleared
    pumpEvents(600);  // the indicator runs by itself
    EXPECT_EQ(w.autoscanAction()->text(), "&Autoscan: On");

    // Opening the File or Screenshots menu stops the scan and leaves the flags as they were.
    for (QMenu* menu : {w.fileMenu(), w.screenshotsMenu()}) {
        s.AutoScan.setEnabled(true);
        emit menu->aboutToShow();
        EXPECT_FALSE(s.AutoScan.Enabled());
        EXPECT_TRUE(s.ReadyToQuery);
        s.ASIndicator.fire();
        EXPECT_EQ(w.autoscanAction()->text(), "&Autoscan: Off");
    }
}

TEST(FrmMain, SaveSortedServerListFromTheMenu) {
    ScriptedPrompter prompts;
    Loaded l("127.0.0.2:7778:UT\r\n127.0.0.1:7778:UT3\r\n");  // loaded with a scan: loopback only
    FrmMain& w = *l.w;
    w.state().ServerGrid.setTextMatrix(1, 1, "b");
    w.state().ServerGrid.setTextMatrix(2, 1, "a");
    SortServerGrid(w.state(), 1);
    w.mnuSaveServer_Click();
    EXPECT_EQ(l.folder.read("servers.ini"), "127.0.0.1:7778:UT3\r\n127.0.0.2:7778:UT\r\n");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(FrmMain, ExitEndsAtOnceAndCloseRunsTheUnloadSteps) {
    ProgramEndRecorder ended;
    Loaded l;
    FrmMain& w = *l.w;
    w.mnuExit_Click();
    EXPECT_EQ(ended.count, 1);
    w.state().ClickScan.setEnabled(true);
    w.close();
    EXPECT_TRUE(w.state().ExitRequested);
    EXPECT_FALSE(w.state().AutoScan.Enabled());
    EXPECT_FALSE(w.state().ClickScan.Enabled());
}

TEST(FrmMain, FocusOnTheAdminBoxPutsTheCaretAtTheEnd) {
    Loaded l;
    FrmMain& w = *l.w;
    w.state().panel.Text3 = "Admin ( admin@example.org )";
    w.refreshPanel();
    w.show();
    QApplication::setActiveWindow(&w);
    auto* text3 = w.findChild<QLineEdit*>("Text3");
    text3->setFocus(Qt::TabFocusReason);  // tab focus would select everything
    pumpEvents(50);
    EXPECT_EQ(text3->cursorPosition(), w.state().panel.Text3.size());
    EXPECT_FALSE(text3->hasSelectedText());
}

// "Find Servers..." opens over the masters of "masters.ini"; a favourite added there is
// asked at once and shows its name in the main list.
TEST(FrmMain, FindServersAddsFavouritesTheMainListShows) {
    const int base = testPortBase(7);
    StandinProcess server({"--game", "ut", "--port", QString::number(base + 1), "--name", "Found Far"});
    QProcess master;
    master.start(QStringLiteral(VYRN_STANDIN_MASTER),
                 {"--port", QString::number(base), "--servers", "1", "--list-port", QString::number(base + 1)});
    ASSERT_TRUE(server.ready() && master.waitForReadyRead(5000));
    TempProgramFolder folder;
    folder.write("vyrn.ini", "\r\n\r\n\r\n1\r\n2\r\nTrue\r\n\r\n\r\n");
    const QByteArray masters = "127.0.0.1:1\r\n127.0.0.1:" + QByteArray::number(base) + "\r\n";
    folder.write("masters.ini", masters);  // the first refuses at once
    FrmMain w;
    ASSERT_TRUE(w.Form_Load(quietHooks()));
    w.findChild<QAction*>("mnuFindServers")->trigger();
    auto* find = w.findChild<QDialog*>("frmFindServers");
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    auto* table = find->findChild<QTableView*>("serverTable");
    for (int i = 0; i < 40 && table->model()->index(0, 0).data().toString() != "Found Far"; ++i) pumpEvents(50);
    EXPECT_TRUE(find->findChild<QPlainTextEdit*>("masterNotes")->toPlainText().contains("127.0.0.1:1: refused"));
    table->selectRow(0);
    find->findChild<QPushButton*>("addFavourites")->click();
    for (int i = 0; i < 40 && w.state().ServerGrid.TextMatrix(1, 1) != "Found Far"; ++i) pumpEvents(50);
    EXPECT_EQ(w.state().ServerGrid.TextMatrix(1, 1), "Found Far");
    EXPECT_EQ(folder.read("servers.ini"), "127.0.0.1:" + QByteArray::number(base + 1) + ":UT\r\n");
    EXPECT_EQ(folder.read("masters.ini"), masters);
    master.kill();
    master.waitForFinished();
}

TEST(FrmMain, LongServerTextsNeitherWidenTheWindowNorShowAsMarkup) {
    Loaded l;
    FrmMain& w = *l.w;
    w.show();
    QApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w.frameGeometry()));
    const QSize before = w.size();

    QStringList mutators;
    for (int i = 1; i <= 15; ++i) mutators << QStringLiteral("XGame.MutInstaGibVariant%1").arg(i);
    InfoPanel& p = w.state().panel;
    p.Frame1 = QString(90, 'W');  // a 90-character host name
    p.Label1 = "Map: <font color=red size=7>HACKED</font>";
    p.Label8 = "Mutators: " + mutators.join(", ") + " <img src=\"/etc/passwd\">";
    p.Text3 = QString(90, 'A');
    w.refreshPanel();
    w.state().ServerGrid.setTextMatrix(1, 1, QString(90, 'S'));
    QApplication::processEvents();

    EXPECT_EQ(w.size(), before);
    EXPECT_LE(w.minimumSizeHint().width(), screen.width() / 2);
    for (ElidedLabel* label : w.findChildren<ElidedLabel*>()) EXPECT_EQ(label->textFormat(), Qt::PlainText);
    auto* map = w.findChild<ElidedLabel*>("Label1");
    EXPECT_EQ(map->fullText(), p.Label1);
    EXPECT_TRUE(p.Label1.startsWith(map->text().chopped(1)) || map->text() == p.Label1);
    // The grids keep their height: nothing was crushed.
    EXPECT_GT(w.findChild<QWidget*>("ServerGrid")->height(), 150);
    EXPECT_GT(w.findChild<QWidget*>("Flex")->height(), 100);
}

TEST(FrmMain, GridsGrowWithTheWindowAndTheServerColumnTakesTheWidth) {
    Loaded l;
    FrmMain& w = *l.w;
    w.show();
    QApplication::processEvents();
    auto* grid = w.findChild<QTableView*>("ServerGrid");
    const int gridWidth = grid->width(), serverColumn = grid->columnWidth(1);
    w.resize(w.width() + 200, w.height() + 100);
    QApplication::processEvents();
    EXPECT_GT(grid->width(), gridWidth);
    EXPECT_EQ(grid->columnWidth(1) - serverColumn, grid->width() - gridWidth);
}
