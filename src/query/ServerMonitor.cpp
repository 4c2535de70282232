#include "query/ServerMonitor.h"

#include "platform/ProgramEnd.h"
#include "query/MainGrids.h"
#include "query/StatusWriter.h"
#include "state/AppConfig.h"

namespace {
QString silenceKey(const QString& address, int port) {
    return address.trimmed() + QLatin1Char(':') + QString::number(port);
}
}  // namespace

int refreshDelay() {
    const QString d = appConfig().refreshDelay.trimmed();
    return d.isEmpty() ? 2 : int(leadingNumber(d));
}

ServerMonitor::ServerMonitor(MainState& state) : s_(state) {
    querier_.finished = [this](const QueryOutcome& outcome) { onQueryFinished(outcome); };
    s_.autoScanTimer.setTick([this] { onAutoScanTick(); });
    s_.selectedScanTimer.setTick([this] { onClickScanTick(); });
    s_.autoScanIndicatorTimer.setTick([this] { onAutoScanIndicatorTick(); });
}

ServerMonitor::~ServerMonitor() {
    querier_.finished = nullptr;
    s_.autoScanTimer.setTick({});
    s_.selectedScanTimer.setTick({});
    s_.autoScanIndicatorTimer.setTick({});
}

void ServerMonitor::queryServer(const QString& host, int port, const QString& game) {
    const QString address = host.trimmed();
    if (address.isEmpty() || port < 1 || port > 65535) return;  // nothing to send to
    querier_.setProbeWaitMs(std::max(0, refreshDelay()) * 100);
    querier_.query({address, port, game.trimmed()});
}

void ServerMonitor::queryRow(int row) {
    const FlexGrid& g = s_.serverGrid;
    queryServer(g.cellText(row, ServerCol::Address), queryPortOf(g, row),
                g.cellText(row, ServerCol::GameCode));
}

void ServerMonitor::onAutoScanTick() {
    s_.selectedScanTimer.setEnabled(false);
    if (s_.exitRequested) {
        s_.autoScanTimer.setEnabled(false);
        endProgram();
        return;
    }
    if (appConfig().refreshDelay.trimmed().isEmpty()) appConfig().refreshDelay = QStringLiteral("2");
    const int delay = refreshDelay();
    if (delay > 0 && s_.autoScanTimer.interval() != 200 * delay) s_.autoScanTimer.setInterval(200 * delay);
    s_.autoScanMode = true;
    if (!s_.readyToQuery) return;

    FlexGrid& g = s_.serverGrid;
    const int last = g.rowCount() - 1;
    if (last < 1) return;
    s_.scanRow = s_.scanRow + 1;
    if (s_.scanRow > last || s_.scanRow < 1) s_.scanRow = 1;
    const int row = s_.scanRow;
    // The marker goes only on favourites: the empty list's row keeps its empty "#".
    auto mark = [&g](int r, const QString& text) {
        if (!g.cellText(r, ServerCol::Number).isEmpty()) g.setCellText(r, ServerCol::Number, text);
    };
    mark(row, QString::number(row) + QLatin1Char('<'));
    if (row > 1) mark(row - 1, QString::number(row - 1));
    else mark(last, QString::number(last));
    if (!g.cellText(row, ServerCol::Address).isEmpty()) queryRow(row);
}

void ServerMonitor::onClickScanTick() {
    s_.autoScanTimer.setEnabled(false);
    s_.autoScanMode = false;
    if (s_.exitRequested) {
        s_.selectedScanTimer.setEnabled(false);
        endProgram();
        return;
    }
    const FlexGrid& g = s_.serverGrid;
    const int row = s_.scanRow;
    if (row < 1 || row >= g.rowCount()) return;
    const QString host = g.cellText(row, ServerCol::Address);
    if (!s_.readyToQuery || host.isEmpty()) return;
    s_.panel.address = host;
    notifyPanel();
    queryRow(row);
}

void ServerMonitor::onAutoScanIndicatorTick() {
    const QString caption =
        s_.autoScanTimer.isEnabled() ? QStringLiteral("&Autoscan: On") : QStringLiteral("&Autoscan: Off");
    if (caption == s_.autoScanCaption) return;
    s_.autoScanCaption = caption;
    notifyPanel();
}

void ServerMonitor::onAutoScanClicked() {
    if (!s_.autoScanTimer.isEnabled()) {
        clearServerInfo(s_);
        s_.readyToQuery = true;
        s_.autoScanTimer.setEnabled(true);
        s_.autoScanMode = true;
        notifyPanel();
    } else {
        s_.readyToQuery = false;
        s_.autoScanTimer.setEnabled(false);
        s_.autoScanMode = false;
    }
}

void ServerMonitor::onServerGridClicked() {
    setUpPlayerGrid(s_);
    s_.autoScanTimer.setEnabled(false);
    s_.autoScanMode = false;
    FlexGrid& g = s_.serverGrid;
    const int row = g.mouseRow();
    s_.scanRow = row;
    if (row == 0) {
        sortServerGrid(s_, g.mouseCol());
        notifyPanel();
        return;
    }
    if (row < 1 || row >= g.rowCount()) return;
    clearServerInfo(s_);
    highlightServerRow(s_, row);
    notifyPanel();
    if (g.cellText(row, ServerCol::Address).isEmpty()) return;
    s_.panel.address = g.cellText(row, ServerCol::Address);
    clearServerInfo(s_);
    s_.readyToQuery = true;
    onClickScanTick();
    s_.selectedScanTimer.setEnabled(true);
}

void ServerMonitor::onBuddyGridClicked() {
    const int buddyRow = s_.buddyGrid.mouseRow();
    if (buddyRow == 0) {
        sortBuddyGrid(s_, s_.buddyGrid.mouseCol());
        notifyPanel();
        return;
    }
    const QString server = s_.buddyGrid.cellText(buddyRow, BuddyCol::Server);
    if (server.isEmpty()) return;
    FlexGrid& g = s_.serverGrid;
    int i = 1;
    while (i < g.rowCount() && g.cellText(i, ServerCol::Name) != server) ++i;
    if (i >= g.rowCount()) return;
    s_.autoScanTimer.setEnabled(false);
    s_.autoScanMode = false;
    highlightServerRow(s_, i);
    s_.scanRow = i;
    queryRow(i);
    s_.selectedScanTimer.setEnabled(true);
    g.setTopRow(i);
    notifyPanel();
}

FlexClickResult ServerMonitor::onPlayerGridClicked() {
    const FlexClickResult result = ::clickPlayerGrid(s_);
    notifyPanel();
    return result;
}

void ServerMonitor::refreshAll() {
    const FlexGrid& g = s_.serverGrid;
    refreshing_.clear();
    for (int row = 1; row < g.rowCount(); ++row)
        if (!g.cellText(row, ServerCol::Address).trimmed().isEmpty() && queryPortOf(g, row) > 0)
            refreshing_.insert(rowKey(row));
    progress_ = {int(refreshing_.size()), 0, 0};
    for (int row = 1; row < g.rowCount(); ++row)
        if (!g.cellText(row, ServerCol::Address).isEmpty()) queryRow(row);
}

void ServerMonitor::onQueryFinished(const QueryOutcome& outcome) {
    const QueryTarget& t = outcome.target;
    const QString key = silenceKey(t.address, t.port);
    if (refreshing_.remove(key)) {
        ++progress_.finished;
        if (outcome.answered()) ++progress_.answered;
    }
    if (outcome.status && replied) replied(outcome);
    const int row = rowOf(t);
    if (row == 0) return;  // the favourite is gone
    applyOutcome(row, key, outcome);
    // Told once the row and the panel show the outcome.
    if (queryFinished) queryFinished(row, outcome.answered());
}

void ServerMonitor::applyOutcome(int row, const QString& key, const QueryOutcome& outcome) {
    using Failure = QueryOutcome::Failure;
    if (outcome.status) {
        unanswered_.remove(key);
        gamePorts_.insert(key, outcome.status->hostPort);
        const bool selected = !s_.autoScanMode && row == s_.scanRow;
        writeServerStatus(s_, row, *outcome.status, selected);
        // The grids show their own changes; only the selected server's reply fills the
        // panel, so a long refresh does not redraw it for every other server.
        if (selected) notifyPanel();
        return;
    }
    if (outcome.failure == Failure::BadReply || outcome.failure == Failure::Busy) return;
    const int unanswered = ++unanswered_[key];
    // A name that does not resolve, or an address no server can have, will not answer the next time either.
    if (unanswered >= kSilentAfter || outcome.failure == Failure::Unresolved ||
        outcome.failure == Failure::BadAddress) {
        markServerSilent(s_, row);
        notifyPanel();
    }
}

int ServerMonitor::rowOf(const QueryTarget& t) {
    // Rows move when the list is sorted or reloaded: a remembered row is checked, and
    // the whole list is indexed again when it no longer holds the server.
    const FlexGrid& g = s_.serverGrid;
    const QString key = silenceKey(t.address, t.port);
    const int cached = rows_.value(key);
    if (cached > 0 && cached < g.rowCount() &&
        silenceKey(g.cellText(cached, ServerCol::Address), queryPortOf(g, cached)) == key)
        return cached;
    rows_.clear();
    for (int r = g.rowCount() - 1; r >= 1; --r)  // the first row wins
        rows_.insert(silenceKey(g.cellText(r, ServerCol::Address), queryPortOf(g, r)), r);
    return rows_.value(key);
}

void ServerMonitor::notifyPanel() {
    if (panelChanged) panelChanged();
}

QString ServerMonitor::rowKey(int row) const {
    const FlexGrid& g = s_.serverGrid;
    if (row < 1 || row >= g.rowCount()) return {};
    return silenceKey(g.cellText(row, ServerCol::Address), queryPortOf(g, row));
}

std::optional<QString> ServerMonitor::lastGamePort(int row) const {
    const auto port = gamePorts_.constFind(rowKey(row));
    if (port == gamePorts_.constEnd() || isSilent(row)) return std::nullopt;
    return *port;
}

bool ServerMonitor::isSilent(int row) const { return unanswered_.value(rowKey(row)) >= kSilentAfter; }

bool ServerMonitor::replyPending(int row) const {
    const FlexGrid& g = s_.serverGrid;
    if (rowKey(row).isEmpty()) return false;
    return querier_.isBusy({g.cellText(row, ServerCol::Address).trimmed(), queryPortOf(g, row),
                            g.cellText(row, ServerCol::GameCode).trimmed()});
}

void ServerMonitor::closeSocket() { querier_.close(); }
