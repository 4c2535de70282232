#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

#include "app/MainWindow.h"
#include "app/TrayBehaviour.h"
#include "dialogs/ElidedText.h"
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
    explicit Loaded(const QByteArray& servers = {}) {
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        folder.write("vyrn.ini", "\r\n\r\n\r\n1\r\n2\r\nTrue\r\n\r\n\r\n");
        if (!servers.isEmpty()) folder.write("servers.ini", servers);
        w = std::make_unique<MainWindow>();
        auto fake = std::make_unique<FakeTray>();
        icon = fake.get();
        w->useTrayIcon(std::move(fake));
        EXPECT_TRUE(w->Form_Load());
    }
    void minimise() {
        w->showMinimized();
        pumpEvents(50);
    }
};
}  // namespace

// Start-up and "Find Servers..." (over the masters of "masters.ini") ask favourites at once.
TEST(MainWindow, FavouritesAreAskedAtStartupAndWhenAddedFromFindServers) {
    StandinProcess servers({"--game", "ut", "--servers", "3", "--name", "Round"});
    ASSERT_TRUE(servers.ready());
    MasterStandin master({"--servers", "1", "--list-port", QString::number(servers.port() + 2)});
    ASSERT_TRUE(master.ready());
    Loaded l("127.0.0.1:" + QByteArray::number(servers.port()) +
             ":UT\r\n127.0.0.1:" + QByteArray::number(servers.port() + 1) + ":UT\r\n");
    l.w->state().AutoScan.setEnabled(false);  // from here on only start-up's round and the adding ask
    const FlexGrid& grid = l.w->state().ServerGrid;
    const auto named = [&](int row, const QString& name) {
        for (int i = 0; i < 100 && grid.TextMatrix(row, 1) != name; ++i) pumpEvents(50);
        return grid.TextMatrix(row, 1) == name;
    };
    EXPECT_TRUE(named(1, "Round 1") && named(2, "Round 2"));

    l.folder.write("masters.ini", "127.0.0.1:1\r\n" + master.address().toLatin1() + "\r\n");
    l.w->findChild<QAction*>("mnuFindServers")->trigger();
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
    s.ServerGrid.setTextMatrix(1, 1, "b");
    s.ServerGrid.setTextMatrix(2, 1, "a");
    SortServerGrid(s, 1);
    w.mnuSaveServer_Click();
    EXPECT_EQ(l.folder.read("servers.ini"), "127.0.0.1:7778:UT3\r\n127.0.0.2:7778:UT\r\n");
    EXPECT_TRUE(prompts.shown.isEmpty());

    w.autoscanAction()->trigger();
    EXPECT_FALSE(s.AutoScan.Enabled() || s.ReadyToQuery || s.AutoScanMode);
    s.panel.Text2 = "7777";
    w.autoscanAction()->trigger();
    EXPECT_TRUE(s.AutoScan.Enabled() && s.ReadyToQuery && s.AutoScanMode);
    EXPECT_TRUE(s.panel.Text2.isEmpty());  // the panel is cleared

    w.mnuExit_Click();  // ends at once
    EXPECT_EQ(ended.count, 1);
    s.ClickScan.setEnabled(true);
    w.close();  // runs the unload steps
    EXPECT_TRUE(s.ExitRequested);
    EXPECT_FALSE(s.AutoScan.Enabled() || s.ClickScan.Enabled());
}

// Long texts from a server neither widen the window nor show as markup, and the grids take
// the room the window gets. Minimised, the window hides behind one tray icon until a left
// press on it, a second start of VYRN (which is refused), or the tray going away brings it back.
TEST(MainWindow, WindowStaysOnTheScreenWithLongServerTextsAndHidesBehindTheTrayIcon) {
    Loaded l;
    MainWindow& w = *l.w;
    w.show();
    QApplication::setActiveWindow(&w);
    QApplication::processEvents();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(w.frameGeometry()));
    const QSize before = w.size();
    InfoPanel& p = w.state().panel;
    p.Frame1 = QString(90, 'W');  // a 90-character host name
    p.Label1 = "Map: <font color=red size=7>HACKED</font>";
    p.Label8 =
        "Mutators: " + QString("XGame.MutInstaGibVariant, ").repeated(15) + "<img src=\"/etc/passwd\">";
    p.Text3 = QString(90, 'A');
    w.refreshPanel();
    w.state().ServerGrid.setTextMatrix(1, 1, QString(90, 'S'));
    QApplication::processEvents();
    EXPECT_EQ(w.size(), before);
    EXPECT_LE(w.minimumSizeHint().width(), screen.width() / 2);
    for (ElidedLabel* label : w.findChildren<ElidedLabel*>()) EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_GT(w.findChild<QWidget*>("Flex")->height(), 100);  // nothing was crushed

    auto* grid = w.findChild<QTableView*>("ServerGrid");
    const int gridWidth = grid->width();
    EXPECT_GT(grid->height(), 150);
    w.resize(w.width() + 200, w.height() + 100);
    QApplication::processEvents();
    EXPECT_GT(grid->width(), gridWidth);

    l.minimise();
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(l.icon->isShown);
    EXPECT_FALSE(w.state().AutoScan.Enabled());
    l.icon->leftPressed();
    pumpEvents(50);
    EXPECT_TRUE(w.isVisible() && !w.isMinimized());
    EXPECT_FALSE(l.icon->isShown);
    EXPECT_FALSE(w.state().AutoScan.Enabled());  // scanning stays off after a restore

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
    EXPECT_EQ(l.icon->adds, 3);

    // Buddy alerts go through the tray unless switched off.
    w.state().buddySeen("Bob", "Green Server");
    appConfig().BuddyAlerts = "0";
    w.state().buddySeen("Bob", "Red Server");
    appConfig().BuddyAlerts.clear();
    EXPECT_EQ(l.icon->notes, QStringList{"Bob is playing on Green Server"});
    l.w.reset();
    EXPECT_FALSE(SingleInstance(SingleInstance::defaultFolder()).anotherRunning());  // the next start runs
    // The desktop's notifications may read markup; names from the wire must not be.
    EXPECT_EQ(withoutMarkup("<b>Bob</b> & <img src=x>"),
              "\u2039b\u203ABob\u2039/b\u203A \uFF06 \u2039img src=x\u203A");
}
