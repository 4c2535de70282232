#pragma once
#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

#include "platform/UdpSocket.h"
#include "query/ReplyState.h"
#include "state/MainState.h"

// The live monitoring of the favourites: the automatic scan, the selected-server
// re-query, the query datagrams and the gathering of replies into the decoders. It works
// on the main window's state and installs the handlers of its three timers.
class ServerMonitor {
public:
    // Size limits of the gathered text: a reply or probe past them is dropped.
    static constexpr qsizetype kMaxStatusText = 64 * 1024;
    static constexpr qsizetype kMaxProbeBuffer = 16 * 1024;

    explicit ServerMonitor(MainState& state);
    ~ServerMonitor();
    ServerMonitor(const ServerMonitor&) = delete;
    ServerMonitor& operator=(const ServerMonitor&) = delete;

    // Called after a decoder has written the panel, the grids or the buddies.
    std::function<void()> panelChanged;

    void QueryServer(const QString& host, int port, const QString& game);
    void AutoScan_Timer();
    void ClickScan_Timer();
    void ASIndicator_Timer();
    void mnuauto_Click();
    void ServerGrid_Click();  // reads ServerGrid.MouseRow()/MouseCol()
    void BudList_Click();     // reads BudList.MouseRow()/MouseCol()
    void Flex_Click();        // reads Flex.MouseRow()/MouseCol()
    void Command2_Click();    // "Copy"
    void Command3_Click();    // "Email Admin"

    // One received datagram, as the socket reports it.
    void onDatagram(const QByteArray& bytes, const QString& fromAddress, int fromPort);
    void closeSocket();

    ReplyState& reply() { return reply_; }
    const ReplyState& reply() const { return reply_; }
    UdpSocket& socket() { return socket_; }

private:
    bool isFavouriteSource(const QString& host, int port) const;
    void gatherStatusText(const QString& text);
    void notifyPanel();
    int probeWaitMs() const;

    MainState& s_;
    ReplyState reply_;
    UdpSocket socket_;
    // Cleared when the monitor goes, so a probe wait that outlives it stops at once.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The scan pace: RefreshDelay of vyrn.ini, 2 when it is empty.
int refreshDelay();
