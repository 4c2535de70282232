#pragma once
#include <QHash>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>

#include "query/PlayersAndBuddies.h"
#include "query/ServerQuerier.h"
#include "state/MainState.h"

// The live monitoring of the favourites: the automatic scan, the selected-server
// re-query and "Refresh all", each a query of its own through the querier, whose
// replies the one writer puts into the rows. It works on the main window's state and
// installs the handlers of its three timers.
class ServerMonitor {
public:
    // Unanswered queries in a row after which a server is shown as silent.
    static constexpr int kSilentAfter = 3;

    explicit ServerMonitor(MainState& state);
    ~ServerMonitor();
    ServerMonitor(const ServerMonitor&) = delete;
    ServerMonitor& operator=(const ServerMonitor&) = delete;

    // Called after the selected server's reply or a handler changed the panel, the grids
    // or the buddies.
    std::function<void()> panelChanged;
    // Called when a query of a favourite's row ended, answered or not.
    std::function<void(int row, bool answered)> queryFinished;
    // Called with every complete reply, before the rows show it.
    std::function<void(const QueryOutcome& outcome)> replied;

    // Queries one server; a server still being queried is left to its pending query.
    void queryServer(const QString& host, int port, const QString& game);
    void onAutoScanTick();
    void onClickScanTick();
    void onAutoScanIndicatorTick();
    void onAutoScanClicked();
    void onServerGridClicked();             // reads serverGrid.mouseRow()/mouseCol()
    void onBuddyGridClicked();              // reads buddyGrid.mouseRow()/mouseCol()
    FlexClickResult onPlayerGridClicked();  // reads playerGrid.mouseRow()/mouseCol()
    // Every favourite queried at once (at most ServerQuerier::kMaxInFlight in flight).
    void refreshAll();
    // How far the last "Refresh all" got.
    struct RefreshProgress {
        int asked = 0, finished = 0, answered = 0;
        bool running() const { return finished < asked; }
    };
    const RefreshProgress& refreshProgress() const { return progress_; }

    // The game port of the row's last complete reply, unless the server went silent since.
    std::optional<QString> lastGamePort(int row) const;
    // Shown greyed: it stopped answering.
    bool isSilent(int row) const;
    // A query of the row's server is on its way.
    bool replyPending(int row) const;

    void closeSocket();
    ServerQuerier& querier() { return querier_; }

private:
    void onQueryFinished(const QueryOutcome& outcome);
    void applyOutcome(int row, const QString& key, const QueryOutcome& outcome);
    int rowOf(const QueryTarget& target);
    void queryRow(int row);
    void notifyPanel();
    QString rowKey(int row) const;

    MainState& s_;
    ServerQuerier querier_;
    QHash<QString, int> unanswered_;  // by "address:port" as the row holds them
    QHash<QString, int> rows_;        // the same key to its row when last looked up
    QHash<QString, QString> gamePorts_;
    QSet<QString> refreshing_;  // the servers of the last "Refresh all" not finished yet
    RefreshProgress progress_;  // the same key to the game port of its last reply
};

// The scan pace: refreshDelay of vyrn.ini, 2 when it is empty.
int refreshDelay();
