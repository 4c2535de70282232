#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QTimer>
#include <QStatusBar>
#include <QTest>
#include <QUdpSocket>
#include <memory>

#include "app/MainWindow.h"
#include "app/MainWindowHistory.h"
#include "history/HistoryService.h"
#include "history/PlayersChart.h"
#include "history/ServerHistoryView.h"
#include "master/FindServersWindow.h"
#include "app/TrayBehaviour.h"
#include "dialogs/ElidedText.h"
#include "dialogs/GridView.h"
#include "query/ServerMonitor.h"
#include "query/ServerPictures.h"
#include "state/LayoutStore.h"
#include "platform/SingleInstance.h"
#include "query/MainGrids.h"
#include "state/AppConfig.h"
#include "support/StandinProcess.h"
#include "support/TestSupport.h"

namespace {
class FakeTray final : public TrayIcon {
public:
    bool trayExists = true, isShown = false;
    int adds = 0;
    QStringList notes;
    bool available() const override { return trayExists; }
    void add(const QString&) override {
        ++adds;
        isShown = true;
    }
    void remove() override { isShown = false; }
    bool shown() const override { return isShown; }
    bool notify(const QString&, const QString& text) override {
        notes << text;
        return trayExists;
    }
};

// The main window loaded from a program folder, with a tray icon and a runtime folder of its own.
struct Loaded {
    QTemporaryDir runtime;
    TempProgramFolder folder;
    std::unique_ptr<MainWindow> w;
    FakeTray* icon = nullptr;
    explicit Loaded(const QByteArray& servers = {}, const QByteArray& utPath = {}) {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        folder.write("vyrn.ini",
                     utPath + "\r\n\r\n\r\n" + (utPath.isEmpty() ? "1" : "2") + "\r\n2\r\nTrue\r\n\r\n\r\n");
        if (!servers.isEmpty()) folder.write("servers.ini", servers);
        w = std::make_unique<MainWindow>();
        auto fake = std::make_unique<FakeTray>();
        icon = fake.get();
        w->useTrayIcon(std::move(fake));
        EXPECT_TRUE(w->start());
    }
    void minimise() {
        w->showMinimized();
        pumpEvents(50);
    }
};
// A loopback UDP port no one uses now, as the system picks it.
int freePort() {
    QUdpSocket socket;
    socket.bind(QHostAddress::LocalHost, 0);
    return socket.localPort();
}
}  // namespace

// Start-up and "Find Servers..." (over the masters of "masters.ini") ask favourites at once.
TEST(MainWindow, FavouritesAreAskedAtStartupAndWhenAddedFromFindServers) {
    StandinProcess servers({"--game", "ut", "--servers", "3", "--name", "Round"});
    ASSERT_TRUE(servers.ready());
    MasterStandin master({"--servers", "1", "--list-port", QString::number(servers.port() + 2)});
    ASSERT_TRUE(master.ready());
    Loaded l("127.0.0.1:" + QByteArray::number(servers.port()) +
             ":UT\r\n127.0.0.1:" + QByteArray::number(servers.port() + 1) + ":UT\r\n");
    l.w->state().autoScanTimer.setEnabled(false);  // from here on only start-up's round and the adding ask
    const FlexGrid& grid = l.w->state().serverGrid;
    const auto named = [&](int row, const QString& name) {
        for (int i = 0; i < 100 && grid.cellText(row, 1) != name; ++i) pumpEvents(50);
        return grid.cellText(row, 1) == name;
    };
    EXPECT_TRUE(named(1, "Round 1") && named(2, "Round 2"));

    l.folder.write("masters.ini", "127.0.0.1:1\r\n" + master.address().toLatin1() + "\r\n");
    l.w->findChild<QAction*>("findServersAction")->trigger();
    auto* find = l.w->findChild<QDialog*>("findServersWindow");
    ASSERT_TRUE(find && find->isVisible());
    auto* table = find->findChild<QTableView*>("serverTable");
    for (int i = 0; i < 100 && table->model()->index(0, 0).data().toString() != "Round 3"; ++i)
        pumpEvents(50);
    table->selectRow(0);
    find->findChild<QPushButton*>("addFavourites")->click();
    EXPECT_TRUE(named(3, "Round 3"));
}

TEST(MainWindow, MenusSaveTheSortedListToggleAutoscanAndEndTheProgram) {
    ScriptedPrompter prompts;
    ProgramEndRecorder ended;
    Loaded l("127.0.0.2:7778:UT\r\n127.0.0.1:7778:UT3\r\n");  // loaded with a scan: loopback only
    MainWindow& w = *l.w;
    MainState& s = w.state();
    s.serverGrid.setCellText(1, 1, "b");
    s.serverGrid.setCellText(2, 1, "a");
    sortServerGrid(s, 1);
    w.onSaveServerListClicked();
    EXPECT_EQ(l.folder.read("servers.ini"), "127.0.0.1:7778:UT3\r\n127.0.0.2:7778:UT\r\n");
    EXPECT_TRUE(prompts.shown.isEmpty());

    w.autoscanAction()->trigger();
    EXPECT_FALSE(s.autoScanTimer.isEnabled() || s.readyToQuery || s.autoScanMode);
    s.panel.gamePort = "7777";
    w.autoscanAction()->trigger();
    EXPECT_TRUE(s.autoScanTimer.isEnabled() && s.readyToQuery && s.autoScanMode);
    EXPECT_TRUE(s.panel.gamePort.isEmpty());  // the panel is cleared

    w.onExitClicked();  // ends at once
    EXPECT_EQ(ended.count, 1);
    s.selectedScanTimer.setEnabled(true);
    w.close();  // runs the unload steps
    EXPECT_TRUE(s.exitRequested);
    EXPECT_FALSE(s.autoScanTimer.isEnabled() || s.selectedScanTimer.isEnabled());
}

// Long texts from a server neither widen the window nor show as markup, and the grids take
// the room the window gets. Minimised, the window hides behind one tray icon until a left
// press on it, a second start of VYRN (which is refused), or the tray going away brings it back.
TEST(MainWindow, WindowStaysOnTheScreenWithLongServerTextsAndHidesBehindTheTrayIcon) {
    Loaded l("127.0.0.1:" + QByteArray::number(freePort()) + ":UT\r\n");
    MainWindow& w = *l.w;
    w.show();
    QApplication::setActiveWindow(&w);
    QApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w.frameGeometry()));
    const QSize before = w.size();
    InfoPanel& p = w.state().panel;
    p.title = QString(90, 'W');  // a 90-character host name
    p.map = "Map: <font color=red size=7>HACKED</font>";
    p.mutators =
        "Mutators: " + QString("XGame.MutInstaGibVariant, ").repeated(15) + "<img src=\"/etc/passwd\">";
    p.admin = QString(90, 'A');
    w.refreshPanel();
    w.state().serverGrid.setCellText(1, 1, QString(90, 'S'));
    QApplication::processEvents();
    EXPECT_EQ(w.size(), before);
    EXPECT_TRUE(
        w.findChild<QWidget*>("infoFrame")->toolTip().contains(QString(90, 'W')));  // the cut name whole
    EXPECT_LE(w.minimumSizeHint().width(), screen.width() / 2);
    for (ElidedLabel* label : w.findChildren<ElidedLabel*>()) EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_GT(w.findChild<QWidget*>("playerGrid")->height(), 100);  // nothing was crushed

    auto* grid = w.findChild<QTableView*>("serverGrid");
    const int gridWidth = grid->width();
    EXPECT_GT(grid->height(), 150);
    w.resize(w.width() + 200, w.height() + 100);
    QApplication::processEvents();
    EXPECT_GT(grid->width(), gridWidth);

    EXPECT_EQ(w.autoscanAction()->text(), "&Autoscan: On");
    l.minimise();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(l.icon->isShown);
    EXPECT_FALSE(w.state().autoScanTimer.isEnabled());
    // With buddy alerts on, the tray keeps a slow round of the favourites going.
    ASSERT_TRUE(w.tray().slowScan().isEnabled());
    w.tray().slowScan().fire();
    EXPECT_EQ(w.monitor().refreshProgress().asked, 1);
    l.icon->leftPressed();
    pumpEvents(50);
    EXPECT_TRUE(w.isVisible() && !w.isMinimized());
    EXPECT_FALSE(l.icon->isShown || w.tray().slowScan().isEnabled());
    EXPECT_FALSE(w.state().autoScanTimer.isEnabled());        // scanning stays off after a restore
    EXPECT_EQ(w.autoscanAction()->text(), "&Autoscan: Off");  // and the menu says so at once
    appConfig().buddyAlerts = "0";
    l.minimise();
    EXPECT_FALSE(w.tray().slowScan().isEnabled());
    appConfig().buddyAlerts.clear();
    l.icon->leftPressed();

    l.minimise();
    SingleInstance second(SingleInstance::defaultFolder());
    EXPECT_TRUE(second.anotherRunning());
    for (int i = 0; i < 200 && !w.isVisible(); ++i) pumpEvents(10);
    EXPECT_TRUE(w.isVisible());
    l.minimise();
    l.icon->trayExists = false;
    l.icon->vanished();  // the panel holding the tray crashed
    pumpEvents(50);
    EXPECT_TRUE(w.isVisible());
    l.minimise();  // without a tray the window is never hidden
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(l.icon->adds, 4);

    // Buddy alerts go through the tray unless switched off, what comes together in one message.
    w.state().buddySeen("Bob", "Green Server");
    w.state().buddySeen("bob", "Red Server");  // the same player elsewhere is no news
    w.state().buddySeen("Alice", "Red Server");
    appConfig().buddyAlerts = "0";
    w.state().buddySeen("Carol", "Red Server");
    appConfig().buddyAlerts.clear();
    EXPECT_TRUE(l.icon->notes.isEmpty());
    w.tellBuddyNews();
    EXPECT_EQ(l.icon->notes, QStringList{"Bob is playing on Green Server\nAlice is playing on Red Server"});
    l.w.reset();
    EXPECT_FALSE(SingleInstance(SingleInstance::defaultFolder()).anotherRunning());  // the next start runs
    // The desktop's notifications may read markup; names from the wire must not be.
    EXPECT_EQ(withoutMarkup("<b>Bob</b> & <img src=x>"),
              "\u2039b\u203ABob\u2039/b\u203A \uFF06 \u2039img src=x\u203A");
}

// A player's way through the favourites by keys and mouse: arrows select, Enter and a double-click
// launch with the last reply or once the reply on its way is in, Escape gives the wait up; the row's
// menu and Ctrl+C copy the address; the filter box, the status bar and the settings round trip.
TEST(MainWindow, KeysSelectAndLaunchWithoutWaitingForAReplyAlreadyKnown) {
    ScriptedPrompter prompts;
    const int slow = freePort(), late = freePort(), silent = freePort();
    StandinProcess slowServer({"--game", "ut", "--port", QString::number(slow), "--name", "Slow",
                               "--delay-ms", "700", "--password", "True"});
    ASSERT_TRUE(slowServer.ready());
    QTemporaryDir games;
    const QString game = games.filePath("ut-bin"), launched = games.filePath("launched");
    QFile script(game);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\necho \"$@\" >> '" + launched + "'\n").toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    const auto row = [](int port) { return "127.0.0.1:" + QByteArray::number(port) + ":UT\r\n"; };
    Loaded l(row(slow) + row(late) + row(silent), game.toUtf8());
    MainWindow& w = *l.w;
    MainState& s = w.state();
    s.autoScanTimer.setEnabled(false);  // only start-up's round and the selected server
    w.show();
    QApplication::setActiveWindow(&w);
    auto* grid = w.findChild<GridView*>("serverGrid");
    const auto launches = [&] {
        QFile f(launched);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts)
                                           : QStringList();
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.serverGrid.cellText(1, 1) == "Slow"; }, 5000));
    EXPECT_EQ(s.serverGrid.cell(1, 1)->picture, PictureLocked);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.monitor().replyPending(2); }, 5000));

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);  // selects the slow server, whose reply is on its way
    EXPECT_EQ(s.scanRow, 1);
    EXPECT_TRUE(s.panel.gamePort.isEmpty() && s.selectedScanTimer.isEnabled());
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("127.0.0.1:%1").arg(slow - 1));
    QGuiApplication::clipboard()->clear();
    const auto choose = [&](int at, const QString& action) {
        emit grid->customContextMenuRequested(grid->visualRect(grid->model()->index(at - 1, 1)).center());
        auto* menu = w.findChild<QMenu*>("serverRowMenu");
        ASSERT_TRUE(menu);
        for (QAction* a : menu->actions())
            if (a->text() == action) a->trigger();
        menu->close();
        delete menu;
    };
    choose(1, "Copy address");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("127.0.0.1:%1").arg(slow - 1));
    QTest::keyClick(grid, Qt::Key_Return);  // at once, with the last reply's port
    EXPECT_TRUE(prompts.shown.isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return launches().size() == 1; }, 5000));
    EXPECT_EQ(launches()[0], QString("127.0.0.1:%1").arg(slow - 1));
    l.icon->leftPressed();  // the launch hid VYRN in the tray

    // A server that never answered yet: the launch waits for the reply on its way.
    StandinProcess lateServer(
        {"--game", "ut", "--port", QString::number(late), "--name", "Late", "--delay-ms", "700"});
    ASSERT_TRUE(lateServer.ready());
    const QPoint second = grid->visualRect(grid->model()->index(1, 1)).center();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, second);
    EXPECT_EQ(s.scanRow, 2);
    EXPECT_TRUE(w.pendingLaunch().waiting());
    EXPECT_EQ(w.statusBar()->currentMessage(), "waiting for the server…");
    ASSERT_TRUE(QTest::qWaitFor([&] { return launches().size() == 2; }, 5000));
    EXPECT_EQ(launches()[1], QString("127.0.0.1:%1").arg(late - 1));
    EXPECT_TRUE(prompts.shown.isEmpty());
    l.icon->leftPressed();

    // Escape gives the wait up: nothing is launched, nothing said.
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(s.scanRow, 3);
    w.onLaunchClicked();
    EXPECT_TRUE(w.pendingLaunch().waiting());
    QTest::keyClick(grid, Qt::Key_Escape);
    EXPECT_FALSE(w.pendingLaunch().waiting());
    EXPECT_TRUE(w.statusBar()->currentMessage().isEmpty());
    pumpEvents(100);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(launches().size(), 2);

    // Tab leaves the grid for the next control.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), grid);

    // The filter box shows the rows whose name holds its text; Escape shows them all again.
    auto* filter = w.findChild<QLineEdit*>("serverFilter");
    QTest::keyClicks(filter, "LAT");
    pumpEvents(10);
    EXPECT_FALSE(grid->rowShown(1));
    EXPECT_TRUE(grid->rowShown(2));
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_TRUE(filter->text().isEmpty() && grid->rowShown(1));

    // "Refresh all" counts the answers in the status bar.
    auto* summary = w.findChild<QLabel*>("statusSummary");
    w.onRefreshAllClicked();
    EXPECT_EQ(summary->text(), "Refresh all: 0 of 3 answered. 3 favourites, 2 answering, 0 players");
    ASSERT_TRUE(QTest::qWaitFor([&] { return summary->text().startsWith("Refresh all: 2 of 3"); }, 5000));

    // Closing the settings keeps the rows and asks the whole list at once.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    w.onVyrnSettingsClicked();
    EXPECT_EQ(s.serverGrid.cellText(1, 1) + "|" + s.serverGrid.cellText(2, 1), "Slow|Late");
    EXPECT_EQ(w.monitor().refreshProgress().asked, 3);
    // "Remove from favourites" takes the selected row out of the list and the file.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(2, 1)).center());
    choose(3, "Remove from favourites");
    EXPECT_EQ(l.folder.read("servers.ini"), row(slow) + row(late));  // the game codes as they were read
    EXPECT_EQ(s.serverGrid.rowCount(), 3);
    appConfig() = AppConfig{};  // the dialog saved its values into the shared settings
}

// The window's place and size, the splitters, the column widths and the sort are kept in
// "layout.ini", never in "vyrn.ini"; a broken file means the designed layout.
TEST(MainWindow, LayoutIsKeptInAFileOfItsOwn) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QList<int> splitter;
    {
        Loaded l;
        const QByteArray config = l.folder.read("vyrn.ini");
        l.w->show();
        l.w->findChild<QSplitter*>("MainSplitter")->setSizes({300, 500});
        splitter = l.w->findChild<QSplitter*>("MainSplitter")->sizes();
        l.w->findChild<GridView*>("playerGrid")->setColumnWidths({-1, 90});
        sortServerGrid(l.w->state(), ServerCol::Ping);
        l.w->close();
        EXPECT_EQ(l.folder.read("vyrn.ini"), config);
        const auto kept = parseLayout(l.folder.read("layout.ini"));
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->serverSortCol, ServerCol::Ping);
        Loaded again;  // the same kind of folder: the layout written above, copied
        again.folder.write("layout.ini", l.folder.read("layout.ini"));
        again.w = std::make_unique<MainWindow>();
        ASSERT_TRUE(again.w->start());
        again.w->show();
        EXPECT_EQ(again.w->findChild<QSplitter*>("MainSplitter")->sizes(), splitter);
        EXPECT_EQ(again.w->findChild<GridView*>("playerGrid")->columnWidths()[1], 90);
        EXPECT_EQ(again.w->state().serverSortCol, ServerCol::Ping);
    }
    // A screen that got smaller: the window shrinks onto it.
    EXPECT_TRUE(area.contains(keptOnScreen({area.right() - 100, area.bottom() - 50, 3000, 2000}, area)));
    for (const char* broken : {"window=1,2,3\r\n", "window=10,10,800,600\r\nsplitter1=5\r\n", "nonsense", ""})
        EXPECT_EQ(parseLayout(broken), std::nullopt) << broken;
}

// Replies go into "history.sqlite": the selected server's pictures come from it, the usual
// players at this hour reach "Find Servers", buddies' names are kept only while the player
// asks for it, and "Clear history..." asks first.
TEST(MainWindow, RepliesAreKeptInTheHistoryShownForTheSelectedServerAndClearedOnAsking) {
    ScriptedPrompter prompts;
    StandinProcess server({"--game", "ut", "--name", "Kept", "--players", "Bob,Alice"});
    ASSERT_TRUE(server.ready());
    MasterStandin master({"--servers", "1", "--list-port", QString::number(server.port())});
    ASSERT_TRUE(master.ready());
    appConfig().buddyHistory = "1";
    Loaded l("127.0.0.1:" + QByteArray::number(server.port()) + ":ut\r\n");
    MainWindow& w = *l.w;
    w.state().buddyGrid.setCellText(1, BuddyCol::Entry, "Bob");
    w.state().serverGrid.setMouseCell(1, 1);
    w.monitor().onServerGridClicked();
    const PlayersChart& chart = *w.history().view()->chart();
    for (int i = 0; i < 100 && chart.series().points.isEmpty(); ++i) pumpEvents(50);
    ASSERT_EQ(chart.series().points.size(), 1);
    EXPECT_EQ(chart.series().points[0].players, 2);

    const auto idle = [&] {
        bool done = false;
        w.history().service()->whenIdle([&] { done = true; });
        for (int i = 0; i < 100 && !done; ++i) pumpEvents(20);
    };
    HistoryStore reader;
    ASSERT_TRUE(reader.open(l.folder.file("history.sqlite")).ok());
    const auto buddySeen = [&](const QString& name) { return reader.buddyHistory(name).servers.size(); };
    EXPECT_EQ(std::pair(buddySeen("Bob"), buddySeen("Alice")), std::pair(qsizetype(1), qsizetype(0)));
    appConfig().buddyHistory.clear();  // switched off: the names kept go
    w.history().keepOnlyBuddies();
    idle();
    EXPECT_EQ(buddySeen("Bob"), 0);

    l.folder.write("masters.ini", master.address().toLatin1() + "\r\n");
    w.findChild<QAction*>("findServersAction")->trigger();
    auto* find = w.findChild<FindServersWindow*>("findServersWindow");
    ASSERT_TRUE(find);
    const auto busy = [&] { return find->model().index(0, int(FoundColumn::UsuallyBusy)).data().toString(); };
    for (int i = 0; i < 100 && busy() != "2"; ++i) pumpEvents(50);
    EXPECT_EQ(busy(), "2");
    find->close();

    const HistoryServer kept = historyServer("127.0.0.1", server.port(), "UT");
    const auto samplesKept = [&] { return reader.samples(kept, 0, QDateTime::currentSecsSinceEpoch() + 60).size(); };
    prompts.answers = {MsgAnswer::No, MsgAnswer::Yes};
    for (int ask = 0; ask < 2; ++ask) {
        EXPECT_EQ(samplesKept(), 1);
        w.findChild<QAction*>("clearHistoryAction")->trigger();
        idle();
    }
    EXPECT_EQ(samplesKept(), 0);
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0].defaultButton, std::optional(MsgAnswer::No));
}
