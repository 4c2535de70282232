#include "master/FindServersWindow.h"

#include <QDateTime>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "dialogs/ElidedText.h"
#include "history/BuddiesSeen.h"
#include "history/HistorySample.h"
#include "history/HistoryService.h"
#include "history/WeekStrip.h"
#include "platform/Prompter.h"
#include "state/AppConfig.h"
#include "state/ProgramFolder.h"
#include "query/PlayersAndBuddies.h"
#include "query/ServerQuerier.h"
#include "state/FavouritesFiles.h"

namespace {
const QString kAnyGameType = QStringLiteral("Any game type");
const QString kAllGames = QStringLiteral("UT, UT2003 and UT2004");
constexpr int kStatusMs = 250;
}  // namespace

FoundServer foundServerFrom(const QueryOutcome& outcome) {
    FoundServer f;
    f.server = {outcome.resolvedAddress.isEmpty() ? outcome.target.address : outcome.resolvedAddress,
                quint16(outcome.target.port)};
    f.gameCode = outcome.target.game;
    if (!outcome.status) return f;
    const ServerStatus& st = *outcome.status;
    f.answered = true;
    f.hostName = st.hasHostName ? st.hostName : f.server.text();
    f.map = st.map;
    f.gameType = st.gameType;
    f.numPlayers = st.numPlayers.trimmed().toInt();
    f.maxPlayers = st.maxPlayers.trimmed().toInt();
    f.ping = int(st.pingMs);
    f.gamePort = st.hostPort.trimmed();
    f.password = st.password == QLatin1String("Yes");
    for (const PlayerStatus& p : st.players) f.players << p.name;
    return f;
}

FindServersWindow::FindServersWindow(MainState& state, QList<MasterAddress> masters, QWidget* parent,
                                     MasterTimeouts timeouts)
    : QDialog(parent),
      state_(state),
      timeouts_(timeouts),
      model_(new FoundServersModel(this)),
      filter_(new FoundServersFilter(this)) {
    masters_[int(Game::UT)] = std::move(masters);
    for (const Game g : {Game::UT2003, Game::UT2004}) masters_[int(g)] = defaultMasters(g);
    setWindowTitle(QStringLiteral("Find Servers"));
    setObjectName(QStringLiteral("findServersWindow"));
    filter_->setSourceModel(model_);
    filter_->setDynamicSortFilter(true);
    buildControls();
    statusTimer_ = new QTimer(this);
    statusTimer_->setInterval(kStatusMs);
    connect(statusTimer_, &QTimer::timeout, this, [this] {
        updateStatus();
        updateGameTypes();
        if (buddies_->isVisible()) updateBuddies();
    });
    statusTimer_->start();
    resize(900, 600);
    refresh();
}

FindServersWindow::~FindServersWindow() {
    for (auto& c : clients_) c->cancel();
}

void FindServersWindow::setMasters(Game game, QList<MasterAddress> masters) {
    masters_[int(game)] = std::move(masters);
}

void FindServersWindow::chooseGames(const QList<Game>& games) {
    const int index = games.size() == 1 ? int(games.first()) : 3;
    if (gameChoice_->currentIndex() != index) gameChoice_->setCurrentIndex(index);  // refreshes
    else refresh();
}

bool FindServersWindow::listing() const {
    for (const auto& c : clients_)
        if (c->running()) return true;
    return false;
}

void FindServersWindow::buildControls() {
    auto* layout = new QVBoxLayout(this);
    auto* filters = new QHBoxLayout;
    gameChoice_ = new QComboBox(this);
    gameChoice_->setObjectName(QStringLiteral("game"));
    for (const Game g : kGames) gameChoice_->addItem(gameInfo(g).name);
    gameChoice_->addItem(kAllGames);
    filters->addWidget(gameChoice_);
    connect(gameChoice_, &QComboBox::currentIndexChanged, this, [this](int index) {
        games_ = index < 3 ? QList<Game>{kGames[index]} : QList<Game>(std::begin(kGames), std::end(kGames));
        refresh();
    });
    gameType_ = new QComboBox(this);
    gameType_->setObjectName(QStringLiteral("gameType"));
    gameType_->addItem(kAnyGameType);
    notEmpty_ = new QCheckBox(QStringLiteral("Not empty"), this);
    notFull_ = new QCheckBox(QStringLiteral("Not full"), this);
    noPassword_ = new QCheckBox(QStringLiteral("No password"), this);
    nameContains_ = new QLineEdit(this);
    nameContains_->setPlaceholderText(QStringLiteral("Name contains"));
    nameContains_->setClearButtonEnabled(true);
    notEmpty_->setObjectName(QStringLiteral("notEmpty"));
    notFull_->setObjectName(QStringLiteral("notFull"));
    noPassword_->setObjectName(QStringLiteral("noPassword"));
    nameContains_->setObjectName(QStringLiteral("nameContains"));
    filters->addWidget(gameType_);
    for (QWidget* w : {static_cast<QWidget*>(notEmpty_), static_cast<QWidget*>(notFull_),
                       static_cast<QWidget*>(noPassword_)})
        filters->addWidget(w);
    filters->addWidget(nameContains_, 1);
    layout->addLayout(filters);
    connect(gameType_, &QComboBox::currentIndexChanged, this, &FindServersWindow::applyFilter);
    for (QCheckBox* c : {notEmpty_, notFull_, noPassword_})
        connect(c, &QCheckBox::toggled, this, &FindServersWindow::applyFilter);
    connect(nameContains_, &QLineEdit::textChanged, this, &FindServersWindow::applyFilter);

    auto* split = new QSplitter(Qt::Vertical, this);
    table_ = new QTableView(split);
    table_->setObjectName(QStringLiteral("serverTable"));
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder);  // the master's order until a header is clicked
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // Thousands of rows: one line each, as in the main grid.
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->setWordWrap(false);
    table_->horizontalHeader()->setSectionResizeMode(int(FoundColumn::Server), QHeaderView::Stretch);
    const std::pair<FoundColumn, const char*> widest[] = {{FoundColumn::Players, "Players "},
                                                          {FoundColumn::UsuallyBusy, "Usually busy now "},
                                                          {FoundColumn::Ping, "9999 "},
                                                          {FoundColumn::GameType, "DEATHMATCHPLUS "},
                                                          {FoundColumn::Game, "UT2004 "},
                                                          {FoundColumn::Map, "DM-Deck16][ (DM-Deck16][)"}};
    for (const auto& [column, text] : widest)
        table_->setColumnWidth(int(column),
                               table_->fontMetrics().horizontalAdvance(QString::fromLatin1(text)) + 16);

    usualWeek_ = new WeekStrip(split);
    usualWeek_->setObjectName(QStringLiteral("usualWeek"));
    usualWeek_->hide();  // until there is a history to show
    usualWeek_->setMaximumHeight(usualWeek_->fontMetrics().height() * 8);  // the list keeps the room
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &FindServersWindow::showUsualWeek);

    buddies_ = new QTableWidget(0, 3, split);
    buddies_->setObjectName(QStringLiteral("buddyTable"));
    buddies_->setHorizontalHeaderLabels(
        {QStringLiteral("Buddy"), QStringLiteral("Player"), QStringLiteral("Server")});
    buddies_->setSelectionBehavior(QAbstractItemView::SelectRows);
    buddies_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    buddies_->verticalHeader()->hide();
    buddies_->verticalHeader()->setDefaultSectionSize(buddies_->fontMetrics().height() + 4);
    buddies_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    buddies_->hide();
    connect(buddies_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (const QTableWidgetItem* item = buddies_->item(row, 0))
            selectServer(item->data(Qt::UserRole).toInt());
        buddiesPicked_ = true;
    });
    connect(buddies_, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!buddies_->selectedItems().isEmpty()) buddiesPicked_ = true;
    });
    connect(table_, &QTableView::pressed, this, [this] { buddiesPicked_ = false; });
    // Enter on a row selects it, as a click does; Tab leaves the lists.
    connect(table_, &QTableView::activated, this, [this](const QModelIndex& i) {
        table_->selectRow(i.row());
        buddiesPicked_ = false;
    });
    connect(buddies_, &QTableWidget::activated, this, [this](const QModelIndex& i) {
        if (const QTableWidgetItem* item = buddies_->item(i.row(), 0))
            selectServer(item->data(Qt::UserRole).toInt());
        buddiesPicked_ = true;
    });
    table_->setTabKeyNavigation(false);
    // The rows' menu: what a player pastes into the game's console, and the favourites.
    auto* launch = new QAction(QStringLiteral("Launch"), table_);
    connect(launch, &QAction::triggered, this, &FindServersWindow::launchCurrent);
    auto* again = new QAction(QStringLiteral("Refresh this server"), table_);
    connect(again, &QAction::triggered, this, &FindServersWindow::refreshCurrent);
    auto* copy = new QAction(QStringLiteral("Copy address"), table_);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &FindServersWindow::copySelectedAddresses);
    auto* add = new QAction(QStringLiteral("Add to favourites"), table_);
    connect(add, &QAction::triggered, this, &FindServersWindow::addSelectedToFavourites);
    auto* information = new QAction(QStringLiteral("Copy information"), table_);
    connect(information, &QAction::triggered, this, &FindServersWindow::copyCurrentInformation);
    table_->addActions({launch, again, copy, information, add});
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    table_->installEventFilter(this);  // the list's own Ctrl+C would copy a cell's text
    buddies_->setTabKeyNavigation(false);
    layout->addWidget(split, 1);

    notes_ = new QPlainTextEdit(this);
    notes_->setObjectName(QStringLiteral("masterNotes"));
    notes_->setReadOnly(true);
    notes_->setMaximumHeight(notes_->fontMetrics().lineSpacing() * 5 + 12);
    notes_->hide();
    layout->addWidget(notes_);

    auto* buttons = new QHBoxLayout;
    // A long path in the status is cut, whole in its tooltip, so the window fits the screen.
    status_ = new ElidedLabel(this, Qt::ElideMiddle);
    status_->setObjectName(QStringLiteral("status"));
    buttons->addWidget(status_, 1);
    auto button = [&](const QString& text, const char* name, auto slot) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button(QStringLiteral("Add to favourites"), "addFavourites", &FindServersWindow::addSelectedToFavourites);
    button(QStringLiteral("Find my buddies"), "findBuddies", &FindServersWindow::findBuddies);
    refreshButton_ = button(QStringLiteral("Refresh"), "refresh", &FindServersWindow::refresh);
    button(QStringLiteral("Close"), "close", &QDialog::close);
    layout->addLayout(buttons);
}

void FindServersWindow::refresh() {
    for (auto& c : clients_) c->cancel();
    clients_.clear();
    model_->clear();
    shownSightings_.clear();
    buddies_->setRowCount(0);
    buddiesPicked_ = false;
    masterNotes_.clear();
    notes_->clear();
    notes_->hide();
    listComplete_ = false;
    lastAction_.clear();
    querier_ = std::make_unique<ServerQuerier>();
    querier_->finished = [this](const QueryOutcome& o) {
        model_->update(foundServerFrom(o));
        recordAnswer(o);
    };
    for (const Game game : games_) startClient(game);
    for (auto& c : clients_) c->start();
    updateStatus();
}

void FindServersWindow::startClient(Game game) {
    std::optional<CdKey> key;
    if (game != Game::UT && !(key = cdKeyFor(game))) {
        addNote(gameInfo(game).name + QStringLiteral(": no CD key, so its masters were not asked."));
        return;
    }
    auto client =
        std::make_unique<MasterClient>(masters_[int(game)], masterExchangeFor(game, key), timeouts_);
    client->serversArrived = [this](const QList<ListedServer>& servers) {
        model_->addServers(servers);
        askUsuallyBusy(servers);
        for (const ListedServer& s : servers)
            querier_->query({s.server.address, s.server.port, s.gameCode, s.gameCode != QLatin1String("UT")});
    };
    // With several games asked, each note says which game's master it is about.
    const QString prefix = games_.size() > 1 ? gameInfo(game).name + QStringLiteral(": ") : QString();
    client->masterDone = [this, prefix](const MasterOutcome& o) {
        if (o.failure != MasterFailure::None || o.skipped > 0) addNote(prefix + describeOutcome(o));
    };
    client->finished = [this](bool complete) {
        listComplete_ = listComplete_ || complete;
        updateStatus();
    };
    clients_.push_back(std::move(client));
}

void FindServersWindow::addNote(const QString& note) {
    masterNotes_ << note;
    notes_->setPlainText(masterNotes_.join(QLatin1Char('\n')));
    notes_->show();
}

// The player's key: found on this computer, else asked for once, and remembered in
// VYRN's folder when the player wants. It is never shown, not even in the box it is
// typed into afterwards.
std::optional<CdKey> FindServersWindow::cdKeyFor(Game game) {
    std::optional<CdKey>& key = keys_[int(game)];
    if (key) return key;
    if ((key = findCdKey(game, appConfig()).key)) return key;
    if (keyAsked_[int(game)]) return std::nullopt;
    keyAsked_[int(game)] = true;
    const QString name = gameInfo(game).name;
    const auto typed = prompter().input(
        {QStringLiteral("The %1 master servers list only for a player with the game's CD key,\n"
                        "and VYRN found none on this computer. Type it here (XXXXX-XXXXX-XXXXX-XXXXX):\n"
                        "it stays on this computer; the masters get only a checksum of it.")
             .arg(name),
         QStringLiteral("Find Servers"), QString()});
    if (!typed) return std::nullopt;
    key = CdKey::parse(typed->toLatin1());
    if (!key) {
        prompter().ask({QStringLiteral("That is not a CD key: it has four groups of five letters or digits, "
                                       "joined by \"-\"."),
                        MsgIcon::Exclamation, QStringLiteral("Find Servers")});
        return std::nullopt;
    }
    const QString file = rememberedCdKeyFile(game);
    if (prompter().ask(
            {QStringLiteral("Remember the %1 CD key in %2? Only you can read that file.").arg(name, file),
             MsgIcon::Question, QStringLiteral("Find Servers"), MsgButtons::YesNo}) == MsgAnswer::Yes) {
        const QString failed = rememberCdKey(game, *key);
        if (!failed.isEmpty())
            prompter().ask({QStringLiteral("The key could not be saved in %1: %2").arg(file, failed),
                            MsgIcon::Exclamation, QStringLiteral("Find Servers")});
    }
    return key;
}

bool FindServersWindow::querying() const { return querier_ && !querier_->idle(); }

QString FindServersWindow::statusText() const { return status_->fullText(); }

void FindServersWindow::updateStatus() {
    const int listed = model_->rowCount();
    if (!listing() && !listComplete_ && listed == 0) {
        status_->setFullText(QStringLiteral("No master sent a list. The masters asked are in ") +
                             programFile(kMastersFileName) + QLatin1Char('.'));
        return;
    }
    int count = 0;
    for (const auto& c : clients_) count += c->serverCount();
    QString text = listing() ? QStringLiteral("Getting the server list: %1 servers").arg(count)
                             : QStringLiteral("%1 servers").arg(listed);
    text += QStringLiteral(", %1 answered").arg(model_->answeredCount());
    if (querying()) text += QStringLiteral(", querying…");
    if (filter_->rowCount() != listed) text += QStringLiteral(", %1 shown").arg(filter_->rowCount());
    if (!lastAction_.isEmpty()) text += QStringLiteral(". ") + lastAction_;
    status_->setFullText(text);
}

void FindServersWindow::updateGameTypes() {
    QStringList types;
    for (const FoundServer& s : model_->servers())
        if ((s.answered || s.fromMaster) && !s.gameType.isEmpty() && !types.contains(s.gameType))
            types << s.gameType;
    types.sort(Qt::CaseInsensitive);
    for (const QString& t : types)
        if (gameType_->findText(t) < 0) gameType_->addItem(t);
}

void FindServersWindow::applyFilter() {
    FoundFilter f;
    if (gameType_->currentIndex() > 0) f.gameType = gameType_->currentText();
    f.notEmpty = notEmpty_->isChecked();
    f.notFull = notFull_->isChecked();
    f.noPassword = noPassword_->isChecked();
    f.nameContains = nameContains_->text();
    filter_->setFilter(f);
    updateStatus();
}

void FindServersWindow::findBuddies() {
    buddies_->show();
    updateBuddies();
}

void FindServersWindow::updateBuddies() {
    const QList<BuddySighting> seen = ::findBuddies(buddyEntries(state_.buddyGrid), model_->servers());
    // Unchanged sightings keep the rows, and with them what the user selected.
    if (seen == shownSightings_) return;
    shownSightings_ = seen;
    buddies_->setRowCount(int(seen.size()));
    for (int i = 0; i < seen.size(); ++i) {
        const FoundServer& s = model_->server(seen[i].serverIndex);
        const QString texts[] = {seen[i].buddy, seen[i].player, s.hostName};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setData(Qt::UserRole, seen[i].serverIndex);
            buddies_->setItem(i, c, item);
        }
    }
}

void FindServersWindow::selectServer(int modelRow) {
    if (modelRow < 0 || modelRow >= model_->rowCount()) return;
    QModelIndex at = filter_->mapFromSource(model_->index(modelRow, 0));
    if (!at.isValid()) {
        // Hidden by the filters: show everything rather than select nothing.
        const QSignalBlocker b1(gameType_), b2(notEmpty_), b3(notFull_), b4(noPassword_), b5(nameContains_);
        gameType_->setCurrentIndex(0);
        for (QCheckBox* c : {notEmpty_, notFull_, noPassword_}) c->setChecked(false);
        nameContains_->clear();
        applyFilter();
        at = filter_->mapFromSource(model_->index(modelRow, 0));
    }
    table_->selectRow(at.row());
    table_->scrollTo(at);
}

void FindServersWindow::addSelectedToFavourites() {
    QList<int> rows;
    if (buddies_->isVisible() && buddiesPicked_) {
        for (const QModelIndex& i : buddies_->selectionModel()->selectedRows())
            rows << buddies_->item(i.row(), 0)->data(Qt::UserRole).toInt();
    } else {
        for (const QModelIndex& i : table_->selectionModel()->selectedRows())
            rows << filter_->mapToSource(i).row();
    }
    addToFavourites(rows);
}

bool FindServersWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copySelectedAddresses();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void FindServersWindow::copySelectedAddresses() {
    QStringList lines;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows()) {
        const FoundServer& s = model_->server(filter_->mapToSource(i).row());
        // "ADDRESS:GAMEPORT" once the server told its game port; the address alone before.
        lines << (s.gamePort.isEmpty() ? s.server.address : s.server.address + QLatin1Char(':') + s.gamePort);
    }
    if (!lines.isEmpty()) QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

std::optional<int> FindServersWindow::currentModelRow() const {
    // The selected row (a right click selects the row under it), else the focused one.
    const QModelIndexList selected = table_->selectionModel()->selectedRows();
    const QModelIndex current = selected.isEmpty() ? table_->currentIndex() : selected.first();
    if (!current.isValid()) return std::nullopt;
    return filter_->mapToSource(current).row();
}

void FindServersWindow::launchCurrent() {
    const auto row = currentModelRow();
    if (!row || !launchRequested) return;
    const FoundServer& s = model_->server(*row);
    launchRequested(s.gameCode, s.server.address, s.gamePort);
}

void FindServersWindow::refreshCurrent() {
    const auto row = currentModelRow();
    if (!row || !querier_) return;
    const FoundServer& s = model_->server(*row);
    querier_->query({s.server.address, s.server.port, s.gameCode, s.gameCode != QLatin1String("UT")});
}

void FindServersWindow::copyCurrentInformation() {
    const auto row = currentModelRow();
    if (!row) return;
    const FoundServer& s = model_->server(*row);
    QStringList lines;
    for (int c = 0; c < kFoundColumnCount; ++c) {
        const QString text = foundCellText(s, FoundColumn(c));
        if (c != int(FoundColumn::UsuallyBusy) || !text.isEmpty())
            lines << foundColumnHeader(FoundColumn(c)) + QStringLiteral(": ") + text;
    }
    lines << QStringLiteral("Address: ") +
                 (s.gamePort.isEmpty() ? s.server.address : s.server.address + QLatin1Char(':') + s.gamePort);
    QGuiApplication::clipboard()->setText(lines.join(QStringLiteral("\r\n")));
}

void FindServersWindow::addToFavourites(const QList<int>& modelRows) {
    QList<FavouriteLine> favourites;
    for (const int row : modelRows) {
        const FoundServer& s = model_->server(row);
        favourites << FavouriteLine{s.server.address, QString::number(s.server.port), s.gameCode};
    }
    if (favourites.isEmpty()) return;
    const FavouritesAdded added = appendFavourites(state_, favourites);
    if (!added.failure.isEmpty()) {
        prompter().ask({added.failure, MsgIcon::Exclamation});
        return;
    }
    lastAction_ = added.count == 0 ? QStringLiteral("Already in the favourites.")
                                   : QStringLiteral("%1 added to the favourites.").arg(added.count);
    updateStatus();
    if (added.count > 0 && favouritesAdded) favouritesAdded();
}

FindServersWindow* openFindServers(MainState& state, QWidget* parent, std::function<void()> favouritesAdded,
                                   decltype(FindServersWindow::launchRequested) launchRequested) {
    // Without a writable folder the defaults are used all the same.
    writeDefaultMastersIfMissing();
    auto* w = new FindServersWindow(state, loadMasters(Game::UT), parent);
    for (const Game g : {Game::UT2003, Game::UT2004}) w->setMasters(g, loadMasters(g));
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->favouritesAdded = std::move(favouritesAdded);
    w->launchRequested = std::move(launchRequested);
    w->show();
    return w;
}

void FindServersWindow::useHistory(HistoryService* history) {
    history_ = history;
    QList<ListedServer> listed;
    for (const FoundServer& s : model_->servers()) listed.append({s.server, s.gameCode});
    askUsuallyBusy(listed);
}

void FindServersWindow::recordAnswer(const QueryOutcome& outcome) {
    if (!history_ || !outcome.status) return;
    const QStringList buddies = buddiesSeen(keptBuddyEntries(state_.buddyGrid), outcome.status->players);
    history_->record(historySample(outcome.target, *outcome.status, QDateTime::currentSecsSinceEpoch(), buddies));
}

void FindServersWindow::askUsuallyBusy(const QList<ListedServer>& servers) {
    if (!history_ || servers.isEmpty()) return;
    QList<HistoryServer> asked;
    QHash<HistoryServer, quint64> keys;
    for (const ListedServer& s : servers) {
        const HistoryServer h = historyServer(s.server.address, s.server.port, s.gameCode);
        asked << h;
        keys.insert(h, s.server.key());
    }
    QPointer<FoundServersModel> model = model_;
    history_->fetchUsuallyBusy(asked, [model, keys](const QHash<HistoryServer, double>& busy) {
        if (!model) return;
        QHash<quint64, double> byKey;
        for (auto it = busy.begin(); it != busy.end(); ++it) byKey.insert(keys.value(it.key()), it.value());
        model->setUsuallyBusy(byKey);
    });
}

void FindServersWindow::showUsualWeek() {
    const auto row = currentModelRow();
    if (!history_ || !row) return;
    const FoundServer& s = model_->server(*row);
    const HistoryServer asked = historyServer(s.server.address, s.server.port, s.gameCode);
    QPointer<FindServersWindow> self = this;
    history_->fetchServer(asked, [self, asked](const ServerHistory& history) {
        if (!self) return;
        const auto now = self->currentModelRow();
        if (!now) return;
        const FoundServer& current = self->model_->server(*now);
        if (historyServer(current.server.address, current.server.port, current.gameCode) != asked) return;
        self->usualWeek_->setData({history.usualWeek, WeekStripData::Kind::UsualPlayers,
                                   localHourOfWeek(QDateTime::currentSecsSinceEpoch())});
        self->usualWeek_->setVisible(true);
    });
}
