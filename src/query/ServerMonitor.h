#pragma once
#include <QHash>
#include <QString>
#include <functional>

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

    // Queries one server; a server still being queried is left to its pending query.
    void QueryServer(const QString& host, int port, const QString& game);
    void AutoScan_Timer();
    void ClickScan_Timer();
    void ASIndicator_Timer();
    void mnuauto_Click();
    void ServerGrid_Click();  // reads ServerGrid.MouseRow()/MouseCol()
    void BudList_Click();     // reads BudList.MouseRow()/MouseCol()
    FlexClickResult Flex_Click();  // reads Flex.MouseRow()/MouseCol()
    // Every favourite queried at once (at most ServerQuerier::kMaxInFlight in flight).
    void refreshAll();

    void closeSocket();
    ServerQuerier& querier() { return querier_; }

private:
    void onQueryFinished(const QueryOutcome& outcome);
    int rowOf(const QueryTarget& target);
    void queryRow(int row);
    void notifyPanel();

    MainState& s_;
    ServerQuerier querier_;
    QHash<QString, int> unanswered_;  // by "address:port" as the row holds them
    QHash<QString, int> rows_;        // the same key to its row when last looked up
};

// The scan pace: RefreshDelay of vyrn.ini, 2 when it is empty.
int refreshDelay();
