#include "app/MainWindow.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QGroupBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QMenu>
#include <QShortcut>
#include <QStatusBar>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/AppLogo.h"
#include "app/MainWindowHistory.h"
#include "app/MainWindowLayout.h"
#include "app/ServerRowMenu.h"
#include "platform/MonotonicClock.h"
#include "query/FavouriteRemoval.h"
#include "query/KeptRowStatus.h"
#include "query/ServerQuerier.h"
#include "platform/ExecuteLink.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/ElidedText.h"
#include "dialogs/FilterBox.h"
#include "app/StatusSummary.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/TermsDialog.h"
#include "launch/Launch.h"
#include "master/FindServersWindow.h"
#include "platform/ProcessStarter.h"
#include "platform/ProgramEnd.h"
#include "platform/Prompter.h"
#include "platform/SingleInstance.h"
#include "profile/GameSettingsEntry.h"
#include "query/MainGrids.h"
#include "query/PlayersAndBuddies.h"
#include "query/ServerMonitor.h"
#include "query/StatusWriter.h"
#include "screenshots/ScreenshotsEntry.h"
#include "settings/SettingsEntry.h"
#include "state/AppConfig.h"
#include "state/ConfigFile.h"
#include "state/FavouritesFiles.h"
#include "dialogs/GridView.h"
#include "history/HistoryService.h"
#include "history/ServerHistoryView.h"
#include "state/ProgramFolder.h"
#include "query/TeamPictures.h"
#include "query/ServerPictures.h"

namespace {
class WindowLaunchEnvironment final : public LaunchEnvironment {
public:
    explicit WindowLaunchEnvironment(QWidget* window) : window_(window) {}
    QString startProcess(const ProcessSpec& p) override { return startGameProcess(p); }
    void minimiseWindow() override { window_->showMinimized(); }

private:
    QWidget* window_;
};

const QFont& arial() {
    static const QFont font(QStringLiteral("Arial"), 9);
    return font;
}
}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("VYRN 3.0"));
    resize(860, 680);
    buildMenus();

    serverView = new GridView(state_.serverGrid);
    playerView = new GridView(state_.playerGrid);
    buddyView = new GridView(state_.buddyGrid);
    for (GridView* view : {serverView, playerView, buddyView}) view->setFont(arial());
    playerView->setPictureProvider(teamPicture);
    serverView->setPictureProvider(serverPicture);
    playerView->setToolTip(
        QStringLiteral("Online Players. Click on a player name to bring into buddy list."));
    buddyView->setToolTip(QStringLiteral("Buddy List."));
    serverView->setObjectName(QStringLiteral("serverGrid"));
    playerView->setObjectName(QStringLiteral("playerGrid"));
    buddyView->setObjectName(QStringLiteral("buddyGrid"));
    // What the narrow columns must show whole: a marked row number, counts, pings, the
    // long game types of UT2004 and UT.
    serverView->setUsualContent(0, {QStringLiteral("999<")});
    serverView->setUsualContent(4, {QStringLiteral("99/99")});
    serverView->setUsualContent(6, {QStringLiteral("9999")});
    serverView->setUsualContent(8, {QStringLiteral("Xdeathmatch"), QStringLiteral("DEATHMATCHPLUS")});
    serverView->setUsualContent(9, {QStringLiteral("UT2004")});
    playerView->setUsualContent(1, {QStringLiteral("-999")});
    playerView->setUsualContent(2, {QStringLiteral("9999")});
    serverView->setFillColumn(1);
    playerView->setFillColumn(0);
    buddyView->setFillColumn(1);

    history_ = new MainWindowHistory(state_, this);  // the panel shows its pictures
    buildPanel();
    // Grids left, panel and buddies right; the user moves the splitters.
    // A "Name contains" box over the favourites; Escape empties it.
    auto* filter = new FilterBox;
    filter->setObjectName(QStringLiteral("serverFilter"));
    connect(filter, &QLineEdit::textChanged, this,
            [this](const QString& text) { serverView->setRowFilter(ServerCol::Name, text); });
    auto* favourites = new QWidget;
    auto* favouritesLayout = new QVBoxLayout(favourites);
    favouritesLayout->setContentsMargins(0, 0, 0, 0);
    favouritesLayout->setSpacing(2);
    favouritesLayout->addWidget(filter);
    favouritesLayout->addWidget(serverView, 1);
    auto* left = new QSplitter(Qt::Vertical);
    left->addWidget(favourites);
    left->addWidget(playerView);
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 2);
    left->setObjectName(QStringLiteral("GridSplitter"));
    auto* right = new QSplitter(Qt::Vertical);
    right->setObjectName(QStringLiteral("PanelSplitter"));
    right->addWidget(infoFrame);
    right->addWidget(history_->view());
    right->addWidget(buddyView);
    // The pictures and the buddies share what the information leaves.
    history_->view()->setMinimumHeight(170);
    right->setStretchFactor(1, 3);
    right->setStretchFactor(2, 2);
    auto* central = new QSplitter(Qt::Horizontal, this);
    central->setObjectName(QStringLiteral("MainSplitter"));
    central->addWidget(left);
    central->addWidget(right);
    central->setStretchFactor(0, 3);
    central->setStretchFactor(1, 2);
    for (QSplitter* splitter : {left, right, central}) splitter->setChildrenCollapsible(false);
    central->setSizes({540, 320});
    setCentralWidget(central);

    monitor_ = std::make_unique<ServerMonitor>(state_);
    monitor_->panelChanged = [this] { refreshPanel(); };
    monitor_->replied = [this](const QueryOutcome& outcome) { history_->record(outcome); };
    // The monitor keeps the caption in the state; the menu shows it on every tick.
    state_.autoScanIndicatorTimer.setTick([this] {
        monitor_->onAutoScanIndicatorTick();
        refreshAutoscanCaption();
        if (summary_) refreshSummary();
    });
    // Each handler tells the panel through panelChanged when it changed it.
    serverView->setClickHandler([this] {
        monitor_->onServerGridClicked();
        if (pendingLaunch_.row() != state_.scanRow) pendingLaunch_.cancel();
    });
    // Arrows select servers and buddies as clicks do; Enter or a double-click launches.
    serverView->setKeysSelectRows(true);
    buddyView->setKeysSelectRows(true);
    serverView->setActivateHandler([this] { onLaunchClicked(); });
    buildRowMenus();
    playerView->setClickHandler([this] { onPlayerGridClicked(); });
    buddyView->setClickHandler([this] { monitor_->onBuddyGridClicked(); });
    setWindowIcon(QIcon(vyrnLogo(32)));
    useTrayIcon(makeSystemTrayIcon(windowIcon()));
    state_.buddySeen = [this](const QString& player, const QString& server) { buddySighted(player, server); };
    // Sightings that come close together (a whole round answering) make one message.
    buddyNewsTimer_ = new QTimer(this);
    buddyNewsTimer_->setSingleShot(true);
    buddyNewsTimer_->setInterval(1500);
    connect(buddyNewsTimer_, &QTimer::timeout, this, &MainWindow::tellBuddyNews);

    // The status bar: counts of the list, and the progress of "Refresh all".
    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("statusSummary"));
    statusBar()->addPermanentWidget(summary_);
    summaryTimer_ = new QTimer(this);
    summaryTimer_->setSingleShot(true);
    summaryTimer_->setInterval(200);
    connect(summaryTimer_, &QTimer::timeout, this, &MainWindow::refreshSummary);
    monitor_->queryFinished = [this](int row, bool answered) {
        pendingLaunch_.queryFinished(row, answered);
        if (!summaryTimer_->isActive()) summaryTimer_->start();
    };
    // A reply in time launches; the time-out or no reply leaves the field empty: "Server down".
    pendingLaunch_.done = [this](int row, bool) {
        if (row == selectedRow()) launchNow();  // unless another server was selected meanwhile
    };
    giveUpLaunch_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    giveUpLaunch_->setEnabled(false);
    connect(giveUpLaunch_, &QShortcut::activated, this, [this] { pendingLaunch_.cancel(); });
    pendingLaunch_.waitingChanged = [this](bool waiting) {
        giveUpLaunch_->setEnabled(waiting);
        if (waiting) statusBar()->showMessage(kWaitingForServerText);
        else statusBar()->clearMessage();
    };
    // Grid layouts as the window shows them before start-up fills them.
    setUpServerGrid(state_);
    setUpBuddyGrid(state_);
    setUpPlayerGrid(state_);
}

MainWindow::~MainWindow() {
    // The grid views hold on to the grids of the state, which goes before the children.
    delete centralWidget();
    // The monitor takes its timer handlers with it.
    monitor_.reset();
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();
    fileMenu_ = bar->addMenu(QStringLiteral("&File.."));
    connect(fileMenu_, &QMenu::aboutToShow, this, &MainWindow::onMenuAboutToShow);
    fileMenu_
        ->addAction(QStringLiteral("Save sorted server list "), this, &MainWindow::onSaveServerListClicked)
        ->setObjectName(QStringLiteral("saveServerListAction"));
    fileMenu_->addAction(QStringLiteral("Find Servers..."), this, &MainWindow::onFindServersClicked)
        ->setObjectName(QStringLiteral("findServersAction"));
    fileMenu_->addAction(QStringLiteral("Clear history..."), this, [this] { history_->clearHistory(); })
        ->setObjectName(QStringLiteral("clearHistoryAction"));
    fileMenu_->addAction(QStringLiteral("E&xit"), this, &MainWindow::onExitClicked)
        ->setObjectName(QStringLiteral("exitAction"));
    QAction* refresh =
        fileMenu_->addAction(QStringLiteral("Refresh all"), this, &MainWindow::onRefreshAllClicked);
    refresh->setObjectName(QStringLiteral("refreshAllAction"));
    refresh->setShortcut(QKeySequence(Qt::Key_F5));
    refresh->setShortcutContext(Qt::ApplicationShortcut);

    bar->addAction(QStringLiteral("&VYRN Settings"), this, &MainWindow::onVyrnSettingsClicked)
        ->setObjectName(QStringLiteral("vyrnSettingsAction"));
    bar->addAction(QStringLiteral("&Game Settings"), this, &MainWindow::onGameSettingsClicked)
        ->setObjectName(QStringLiteral("gameSettingsAction"));

    screenshotsMenu_ = bar->addMenu(QStringLiteral("&Screenshots.."));
    connect(screenshotsMenu_, &QMenu::aboutToShow, this, &MainWindow::onMenuAboutToShow);
    const std::pair<const char*, ScreenshotGame> games[] = {
        {"UT", ScreenshotGame::UT}, {"UT2003", ScreenshotGame::UT2003}, {"UT2004", ScreenshotGame::UT2004}};
    for (const auto& [caption, game] : games)
        screenshotsMenu_->addAction(QString::fromLatin1(caption), this,
                                    [this, game = game] { openScreenshotViewer(this, game); });

    autoScanAction_ = bar->addAction(QStringLiteral("&AutoScan"), this, &MainWindow::onAutoScanClicked);
    autoScanAction_->setObjectName(QStringLiteral("autoScanAction"));

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("About VYRN"), this, &MainWindow::onAboutClicked)
        ->setObjectName(QStringLiteral("aboutAction"));
}

void MainWindow::buildPanel() {
    infoFrame = new ElidedGroupBox;
    infoFrame->setObjectName(QStringLiteral("infoFrame"));
    infoFrame->setFont(arial());
    infoFrame->setOwnToolTip(QStringLiteral("Copies all of the server information into clipboard."));
    auto* grid = new QGridLayout(infoFrame);
    auto label = [&](int n) {
        auto* l = new ElidedLabel(infoFrame);
        l->setObjectName(QStringLiteral("infoLabel%1").arg(n));
        l->setFont(arial());
        labels[n] = l;
        return l;
    };
    grid->addWidget(label(1), 0, 0, 1, 3);
    ElidedLabel* admin = label(2);
    admin->setFullText(QStringLiteral("Admin:"));
    admin->setMinimumWidth(admin->sizeHint().width());
    adminEdit = new QLineEdit(infoFrame);
    adminEdit->setObjectName(QStringLiteral("adminEdit"));
    adminEdit->setReadOnly(true);
    grid->addWidget(admin, 1, 0);
    grid->addWidget(adminEdit, 1, 1, 1, 2);
    int row = 2;
    for (int n : {3, 4, 5, 6, 7, 8, 9}) grid->addWidget(label(n), row++, 0, 1, 3);
    addressEdit = new QLineEdit(infoFrame);
    addressEdit->setObjectName(QStringLiteral("addressEdit"));
    gamePortEdit = new QLineEdit(infoFrame);
    gamePortEdit->setObjectName(QStringLiteral("gamePortEdit"));
    grid->addWidget(addressEdit, row, 0, 1, 2);
    grid->addWidget(gamePortEdit, row++, 2);
    launchButton = new QPushButton(QStringLiteral("&Launch!"), infoFrame);
    launchButton->setToolTip(QStringLiteral("Launch into the selected server."));
    copyButton = new QPushButton(QStringLiteral("Copy"), infoFrame);
    copyButton->setToolTip(QStringLiteral("Copies the server information to clipboard."));
    emailAdminButton = new QPushButton(QStringLiteral("Email Admin"), infoFrame);
    emailAdminButton->setToolTip(QStringLiteral("Email the server admin with the default mail application"));
    connect(launchButton, &QPushButton::clicked, this, &MainWindow::onLaunchClicked);
    connect(copyButton, &QPushButton::clicked, this, &MainWindow::onCopyClicked);
    connect(emailAdminButton, &QPushButton::clicked, this, &MainWindow::onEmailAdminClicked);
    int col = 0;
    for (QPushButton* b : {launchButton, copyButton, emailAdminButton}) {
        b->setFont(arial());
        grid->addWidget(b, row, col++);
    }
    launchButton->setObjectName(QStringLiteral("launchButton"));
    copyButton->setObjectName(QStringLiteral("copyButton"));
    emailAdminButton->setObjectName(QStringLiteral("emailAdminButton"));
    // Focus on the admin box puts the caret at the end with nothing selected.
    adminEdit->installEventFilter(this);
    // The panel's boxes edit the state the launch reads.
    connect(addressEdit, &QLineEdit::textEdited, this,
            [this](const QString& t) { state_.panel.address = t; });
    connect(gamePortEdit, &QLineEdit::textEdited, this,
            [this](const QString& t) { state_.panel.gamePort = t; });
    refreshPanel();
}

void MainWindow::refreshPanel() {
    const InfoPanel& p = state_.panel;
    infoFrame->setFullTitle(p.title);
    const QString* texts[] = {nullptr,     &p.map,          nullptr,     &p.timeLimit, &p.version,
                              &p.password, &p.translocator, &p.gameType, &p.mutators,  &p.goalLimit};
    for (int n = 1; n <= 9; ++n)
        if (texts[n]) labels[n]->setFullText(*texts[n]);
    if (addressEdit->text() != p.address) addressEdit->setText(p.address);
    if (gamePortEdit->text() != p.gamePort) gamePortEdit->setText(p.gamePort);
    if (adminEdit->text() != p.admin) adminEdit->setText(p.admin);
    const int row = selectedRow();
    const FlexGrid& g = state_.serverGrid;
    history_->showServer(row == 0 ? std::nullopt
                                  : std::optional(historyServer(g.cellText(row, ServerCol::Address),
                                                                queryPortOf(g, row),
                                                                g.cellText(row, ServerCol::GameCode))));
}

void MainWindow::refreshAutoscanCaption() { autoScanAction_->setText(state_.autoScanCaption); }

void MainWindow::refreshSummary() {
    summary_->setText(statusSummary(state_.serverGrid, monitor_->refreshProgress()));
}

StartupHooks MainWindow::defaultStartupHooks() {
    StartupHooks hooks;
    hooks.anotherInstanceRunning = [this] {
        instance_ = std::make_unique<SingleInstance>();
        instance_->laterStart = [this] { trayBehaviour_->bringToFront(); };
        return instance_->anotherRunning();
    };
    hooks.showAbout = [this] { AboutDialog(this).exec(); };
    hooks.showAgreement = [this] { return TermsDialog(this).exec() == QDialog::Accepted; };
    hooks.showFirstRunSettings = [this] { showSettingsDialog(this, true); };
    hooks.centreWindow = [this] { centreOnScreen(this); };
    return hooks;
}

bool MainWindow::start() { return start(defaultStartupHooks()); }

bool MainWindow::start(const StartupHooks& hooks) {
    const bool running = runStartup(state_, hooks);
    if (running) restoreLayout();
    // Only the one running window keeps the history.
    if (running) history_->open();
    serverView->setFocus();  // the keys walk the favourites first
    refreshPanel();
    state_.autoScanIndicatorTimer.fire();
    // The whole list is asked at once; the automatic scan then goes on row by row.
    if (running) monitor_->refreshAll();
    return running;
}

void MainWindow::onMenuAboutToShow() { state_.autoScanTimer.setEnabled(false); }

void MainWindow::onSaveServerListClicked() {
    if (const SaveResult saved = saveSortedServerList(state_); !saved)
        prompter().ask({saveFailureText(saved), MsgIcon::Exclamation});
}

void MainWindow::onExitClicked() {
    keepLayout();
    endProgram();
}

void MainWindow::onRefreshAllClicked() {
    monitor_->refreshAll();
    refreshSummary();
}

void MainWindow::onFindServersClicked() {
    // Favourites added there are asked at once, so their rows fill without waiting for the scan.
    FindServersWindow* window = openFindServers(
        state_, this, [this] { monitor_->refreshAll(); },
        [this](const QString& code, const QString& address, const QString& gamePort) {
            WindowLaunchEnvironment env(this);
            performLaunch(state_, planLaunchTo(code, address, gamePort, appConfig()), env);
        });
    window->useHistory(history_->service());
}

void MainWindow::onPlayerGridClicked() {
    const FlexClickResult result = monitor_->onPlayerGridClicked();
    if (result.what == FlexClickResult::What::BuddyNotSaved)
        prompter().ask({buddyNotSavedText(result.name), MsgIcon::Exclamation});
}

void MainWindow::onCopyClicked() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(serverInfoCopyText(state_));
}

void MainWindow::onEmailAdminClicked() {
    if (const auto link = adminMailUrl(state_.panel.admin)) executeLink(*link);
}

void MainWindow::onVyrnSettingsClicked() {
    state_.autoScanTimer.setEnabled(false);
    state_.autoScanMode = false;
    // The dialog starts from the stored list: a sort of the grid reaches the file only
    // through "Save sorted server list".
    const KeptRowStatus kept = keepRowStatus(state_.serverGrid);
    showSettingsDialog(this, false);
    setUpServerGrid(state_);
    setUpBuddyGrid(state_);
    if (!loadFiles(state_)) return;
    history_->keepOnlyBuddies();
    // The rows keep what they showed, and the whole list is asked at once, as at start-up.
    restoreRowStatus(state_.serverGrid, kept);
    state_.autoScanTimer.setEnabled(true);
    state_.autoScanMode = true;
    monitor_->refreshAll();
}

void MainWindow::onGameSettingsClicked() { showGameSettingsDialog(this); }

void MainWindow::onAutoScanClicked() { monitor_->onAutoScanClicked(); }

void MainWindow::onAboutClicked() { AboutDialog(this).exec(); }

void MainWindow::shutDown() {
    state_.exitRequested = true;
    state_.autoScanTimer.setEnabled(false);
    state_.selectedScanTimer.setEnabled(false);
    monitor_->closeSocket();
}

void MainWindow::useTrayIcon(std::unique_ptr<TrayIcon> icon) {
    trayIcon_ = std::move(icon);
    TrayBehaviour::Window window;
    // Hidden once the minimise has finished, so the window manager sees both.
    window.hide = [this] { QTimer::singleShot(0, this, &QWidget::hide); };
    window.showNormal = [this] {
        showNormal();
        raise();
        activateWindow();
    };
    window.scanWhileHidden = [] { return buddyAlertsOn(appConfig()); };
    window.scanRound = [this] { monitor_->refreshAll(); };
    trayBehaviour_ = std::make_unique<TrayBehaviour>(state_, *trayIcon_, window);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) {
        if (trayBehaviour_->isRestoringFromTray()) setWindowState(Qt::WindowNoState);
        else if (isMinimized()) trayBehaviour_->onMinimised();
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::onLaunchClicked() {
    if (pendingLaunch_.waiting()) return;
    // A server selected a moment ago has its panel cleared until its reply: its last
    // complete reply serves, or the launch waits for the one on its way. A silent server
    // is down.
    const int row = state_.scanRow;
    const bool selected = !state_.autoScanMode && row >= 1 && row < state_.serverGrid.rowCount() &&
                          !state_.panel.address.isEmpty();
    if (selected && !parseGamePort(state_.panel.gamePort) && !monitor_->isSilent(row)) {
        if (const auto port = monitor_->lastGamePort(row)) {
            state_.panel.gamePort = *port;
            refreshPanel();
        } else if (monitor_->replyPending(row)) {
            // The query's time-out, after the probe's wait, and a little for the reply's way.
            pendingLaunch_.start(row,
                                 ServerQuerier::kDefaultTimeoutMs + std::max(0, refreshDelay()) * 100 + 500);
            return;
        }
    }
    launchNow();
}

void MainWindow::launchNow() {
    WindowLaunchEnvironment env(this);
    ::launchSelectedServer(state_, appConfig(), env);
}

void MainWindow::buddySighted(const QString& player, const QString& server) {
    if (server.isEmpty() || !buddyAlertsOn(appConfig())) return;
    // A round of the whole list must pass before an unseen buddy is news again.
    const qint64 round = qint64(state_.serverGrid.rowCount()) * 200 * std::max(1, refreshDelay());
    buddyAlerts_.setForgetAfterMs(std::max(BuddyAlerts::kForgetAfterMs, 3 * round));
    if (buddyAlerts_.seen(player, server, monotonicMs()) && !buddyNewsTimer_->isActive())
        buddyNewsTimer_->start();
}

void MainWindow::tellBuddyNews() {
    buddyNewsTimer_->stop();
    if (buddyAlerts_.hasNews()) trayIcon_->notify(QStringLiteral("VYRN"), buddyAlerts_.takeMessage());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == adminEdit && event->type() == QEvent::FocusIn) {
        // Deferred: the line edit selects its text on focus after this filter.
        QTimer::singleShot(0, adminEdit, [this] {
            adminEdit->deselect();
            adminEdit->setCursorPosition(int(adminEdit->text().size()));
        });
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    keepLayout();
    shutDown();
    event->accept();
}

void MainWindow::buildRowMenus() {
    serverView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(serverView, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (!serverView->indexAt(at).isValid() || selectedRow() == 0) return;
        ServerRowActions actions;
        actions.launch = [this] { onLaunchClicked(); };
        actions.refresh = [this] { refreshSelectedServer(); };
        actions.copyAddress = [this] { copyServerAddress(); };
        actions.copyInformation = [this] { onCopyClicked(); };
        actions.removeFavourite = [this] { removeSelectedFavourite(); };
        QMenu* menu = buildServerRowMenu(this, actions);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(serverView->viewport()->mapToGlobal(at));
    });
    auto* copy = new QShortcut(QKeySequence::Copy, serverView, nullptr, nullptr, Qt::WidgetShortcut);
    connect(copy, &QShortcut::activated, this, &MainWindow::copyServerAddress);

    buddyView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(buddyView, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = buddyView->indexAt(at);
        if (!index.isValid()) return;
        const QString entry = state_.buddyGrid.cellText(index.row() + 1, BuddyCol::Entry);
        if (entry.trimmed().isEmpty()) return;
        QMenu* menu = buildBuddyRowMenu(this, [this, entry] { history_->showBuddy(entry); });
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(buddyView->viewport()->mapToGlobal(at));
    });

    playerView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(playerView, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = playerView->indexAt(at);
        if (!index.isValid() || state_.playerGrid.cellText(index.row() + 1, PlayerCol::Name).isEmpty())
            return;
        const int row = index.row() + 1;
        QMenu* menu = buildPlayerRowMenu(this, [this, row] {
            state_.playerGrid.setMouseCell(row, PlayerCol::Name);
            onPlayerGridClicked();
        });
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(playerView->viewport()->mapToGlobal(at));
    });
}

int MainWindow::selectedRow() const {
    const int row = state_.scanRow;
    const bool selected = !state_.autoScanMode && row >= 1 && row < state_.serverGrid.rowCount() &&
                          !state_.serverGrid.cellText(row, ServerCol::Address).isEmpty();
    return selected ? row : 0;
}

void MainWindow::copyServerAddress() {
    const int row = selectedRow();
    if (row == 0) return;
    QGuiApplication::clipboard()->setText(
        serverAddressText(state_.serverGrid.cellText(row, ServerCol::Address), monitor_->lastGamePort(row)));
}

void MainWindow::refreshSelectedServer() {
    const int row = selectedRow();
    if (row == 0) return;
    const FlexGrid& g = state_.serverGrid;
    monitor_->queryServer(g.cellText(row, ServerCol::Address), queryPortOf(g, row),
                          g.cellText(row, ServerCol::GameCode));
}

void MainWindow::removeSelectedFavourite() {
    const int row = selectedRow();
    if (row == 0) return;
    if (const SaveResult saved = removeFavouriteRow(state_, row); !saved) {
        prompter().ask({saveFailureText(saved), MsgIcon::Exclamation});
        return;
    }
    // Nothing is selected any more: back to the automatic scan.
    state_.selectedScanTimer.setEnabled(false);
    state_.scanRow = 0;
    if (!state_.autoScanTimer.isEnabled()) monitor_->onAutoScanClicked();
    refreshPanel();
}

LayoutParts MainWindow::layoutParts() {
    return {this,
            {findChild<QSplitter*>(QStringLiteral("MainSplitter")),
             findChild<QSplitter*>(QStringLiteral("GridSplitter")),
             findChild<QSplitter*>(QStringLiteral("PanelSplitter"))},
            {serverView, playerView, buddyView},
            &state_};
}

void MainWindow::keepLayout() {
    // Nothing to keep from a window never shown; a file that cannot be written costs only the layout.
    if (layoutShown_) saveLayout(layoutOf(layoutParts()));
}

void MainWindow::restoreLayout() {
    layoutShown_ = true;
    if (const std::optional<WindowLayout> l = loadLayout())
        restoredGeometry_ = applyLayout(*l, layoutParts());
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The first showing centres the window; the place the user left it in wins.
    if (restoredGeometry_) setGeometry(*std::exchange(restoredGeometry_, std::nullopt));
}
