#include "query/ServerMonitor.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>

#include "platform/MonotonicClock.h"
#include "platform/ProgramEnd.h"
#include "platform/Text1252.h"
#include "query/MainGrids.h"
#include "query/PlayersAndBuddies.h"
#include "query/ReplyGathering.h"
#include "query/StatusDecoders.h"
#include "state/AppConfig.h"
#include "platform/ExecuteLink.h"

namespace {
const QByteArray kUt2Probe("\x79\x00\x00\x00\x01", 5);
const QByteArray kStatusQuery("\\status\\");

// An address has at least three dots, each found after the previous one.
bool hasThreeDots(const QString& host) {
    qsizetype from = 0;
    for (int i = 0; i < 3; ++i) {
        const qsizetype hit = host.indexOf(QLatin1Char('.'), from);
        if (hit < 0) return false;
        from = hit + 1;
    }
    return true;
}

int portOf(const FlexGrid& g, int row) {
    const double p = leadingNumber(g.TextMatrix(row, 3));
    return p >= 1 && p <= 65535 ? int(p) : 0;
}
}  // namespace

int refreshDelay() {
    const QString d = appConfig().RefreshDelay.trimmed();
    return d.isEmpty() ? 2 : int(leadingNumber(d));
}

ServerMonitor::ServerMonitor(MainState& state) : s_(state) {
    socket_.setReceiver([this](const QByteArray& b, const QString& host, int port) {
        onDatagram(b, host, port);
    });
    s_.AutoScan.setTick([this] { AutoScan_Timer(); });
    s_.ClickScan.setTick([this] { ClickScan_Timer(); });
    s_.ASIndicator.setTick([this] { ASIndicator_Timer(); });
}

ServerMonitor::~ServerMonitor() {
    *alive_ = false;
    s_.AutoScan.setTick({});
    s_.ClickScan.setTick({});
    s_.ASIndicator.setTick({});
}

int ServerMonitor::probeWaitMs() const { return std::max(0, refreshDelay()) * 100; }

void ServerMonitor::QueryServer(const QString& host, int port, const QString& game) {
    if (!hasThreeDots(host)) return;
    reply_.StatusText.clear();
    reply_.ProbeBuffer.clear();
    reply_.ProbeFields = QStringList{QString()};
    reply_.probeFromHost.clear();
    reply_.discardingReply = false;
    reply_.AwaitingProbe = false;
    s_.ReadyToQuery = false;
    if (host.isEmpty() || port < 1 || port > 65535) {
        // Nothing to send to; the scan goes on with the next row.
        s_.ReadyToQuery = true;
        return;
    }
    if (game == QLatin1String("UT2") || game == QLatin1String("UT3")) {
        if (socket_.send(host, port - 9, kUt2Probe)) {
            reply_.AwaitingProbe = true;
            // Keep the window alive while the probe reply comes; a status datagram or
            // the time-out ends the wait.
            QElapsedTimer waited;
            waited.start();
            const int limit = probeWaitMs();
            const std::shared_ptr<bool> alive = alive_;
            do {
                QThread::msleep(1);
                if (waited.elapsed() > limit) break;
                QCoreApplication::processEvents();
                if (!*alive) return;
            } while (reply_.AwaitingProbe);
        }
    }
    reply_.QuerySentAt = monotonicMs();
    socket_.send(host, port, kStatusQuery);  // a refused send is not reported
    s_.ReadyToQuery = true;
}

void ServerMonitor::AutoScan_Timer() {
    QCoreApplication::processEvents();
    s_.ClickScan.setEnabled(false);
    if (s_.ExitRequested) {
        s_.AutoScan.setEnabled(false);
        endProgram();
        return;
    }
    if (appConfig().RefreshDelay.trimmed().isEmpty()) appConfig().RefreshDelay = QStringLiteral("2");
    const int delay = refreshDelay();
    if (delay > 0 && s_.AutoScan.Interval() != 200 * delay) s_.AutoScan.setInterval(200 * delay);
    s_.AutoScanMode = true;
    if (!s_.ReadyToQuery) return;

    FlexGrid& g = s_.ServerGrid;
    const int last = g.Rows() - 1;
    if (last < 1) return;
    s_.ScanRow = s_.ScanRow + 1;
    if (s_.ScanRow > last || s_.ScanRow < 1) s_.ScanRow = 1;
    const int row = s_.ScanRow;
    g.setTextMatrix(row, 0, QString::number(row) + QLatin1Char('<'));
    if (row > 1) g.setTextMatrix(row - 1, 0, QString::number(row - 1));
    else g.setTextMatrix(last, 0, QString::number(last));

    const QString host = g.TextMatrix(row, 2);
    if (!host.isEmpty()) QueryServer(host, portOf(g, row), g.TextMatrix(row, 7));
}

void ServerMonitor::ClickScan_Timer() {
    s_.AutoScan.setEnabled(false);
    s_.AutoScanMode = false;
    if (s_.ExitRequested) {
        s_.ClickScan.setEnabled(false);
        endProgram();
        return;
    }
    const FlexGrid& g = s_.ServerGrid;
    const int row = s_.ScanRow;
    if (row < 1 || row >= g.Rows()) return;
    const QString host = g.TextMatrix(row, 2);
    if (!s_.ReadyToQuery || host.isEmpty()) return;
    s_.panel.Text1 = host;
    notifyPanel();
    QueryServer(host, portOf(g, row), g.TextMatrix(row, 7));
}

void ServerMonitor::ASIndicator_Timer() {
    const QString caption = s_.AutoScan.Enabled() ? QStringLiteral("&Autoscan: On")
                                                  : QStringLiteral("&Autoscan: Off");
    if (caption == s_.mnuautoCaption) return;
    s_.mnuautoCaption = caption;
    notifyPanel();
}

void ServerMonitor::mnuauto_Click() {
    if (!s_.AutoScan.Enabled()) {
        ClearServerInfo(s_);
        s_.ReadyToQuery = true;
        s_.AutoScan.setEnabled(true);
        s_.AutoScanMode = true;
        notifyPanel();
    } else {
        s_.ReadyToQuery = false;
        s_.AutoScan.setEnabled(false);
        s_.AutoScanMode = false;
    }
}

void ServerMonitor::ServerGrid_Click() {
    SetupPlayerGrid(s_);
    s_.AutoScan.setEnabled(false);
    s_.AutoScanMode = false;
    FlexGrid& g = s_.ServerGrid;
    const int row = g.MouseRow();
    s_.ScanRow = row;
    if (row == 0) {
        SortServerGrid(s_, g.MouseCol());
        notifyPanel();
        return;
    }
    reply_.StatusText.clear();
    if (row < 1 || row >= g.Rows()) return;
    ClearServerInfo(s_);
    HighlightServerRow(s_, row);
    notifyPanel();
    if (g.TextMatrix(row, 2).isEmpty()) return;
    s_.panel.Text1 = g.TextMatrix(row, 2);
    ClearServerInfo(s_);
    s_.ReadyToQuery = true;
    ClickScan_Timer();
    s_.ClickScan.setEnabled(true);
}

void ServerMonitor::BudList_Click() {
    const int buddyRow = s_.BudList.MouseRow();
    if (buddyRow == 0) {
        SortBuddyGrid(s_, s_.BudList.MouseCol());
        notifyPanel();
        return;
    }
    const QString server = s_.BudList.TextMatrix(buddyRow, 1);
    if (server.isEmpty()) return;
    FlexGrid& g = s_.ServerGrid;
    int i = 1;
    while (i < g.Rows() && g.TextMatrix(i, 1) != server) ++i;
    if (i >= g.Rows()) return;
    s_.AutoScan.setEnabled(false);
    s_.AutoScanMode = false;
    HighlightServerRow(s_, i);
    s_.ScanRow = i;
    QueryServer(g.TextMatrix(i, 2), portOf(g, i), g.TextMatrix(i, 7));
    s_.ClickScan.setEnabled(true);
    g.setTopRow(i);
    notifyPanel();
}

void ServerMonitor::Flex_Click() {
    ::Flex_Click(s_);
    notifyPanel();
}

void ServerMonitor::Command2_Click() {
    const QString text = serverInfoCopyText(s_);
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void ServerMonitor::Command3_Click() {
    const QString address = adminMailAddress(s_.panel.Text3);
    if (!address.isEmpty()) ExecuteLink(QStringLiteral("mailto:") + address);
}

bool ServerMonitor::isFavouriteSource(const QString& host, int port) const {
    const FlexGrid& g = s_.ServerGrid;
    for (int i = 1; i < g.Rows(); ++i) {
        if (g.TextMatrix(i, 2) != host) continue;
        const int q = portOf(g, i);
        if (q == port || q - 9 == port) return true;
    }
    return false;
}

void ServerMonitor::onDatagram(const QByteArray& bytes, const QString& fromAddress, int fromPort) {
    // Only favourites are listened to: a stray datagram must not join a reply.
    if (!isFavouriteSource(fromAddress, fromPort)) return;
    const QString d = windows1252ToUnicode(bytes);
    ReplyState& r = reply_;
    if (isProbeDatagram(d)) {
        if (r.ProbeBuffer.size() + d.size() > kMaxProbeBuffer) return;
        r.ProbeBuffer += d;
        r.probeFromHost = fromAddress;
        r.probeFromPort = fromPort;
        return;
    }
    // The probe reply is kept from the first text datagram on, so a status reply in
    // several datagrams still shows the probe's rules.
    if (!r.ProbeBuffer.isEmpty()) {
        r.ProbeFields = splitProbeFields(r.ProbeBuffer);
        r.ProbeBuffer.clear();
    }
    r.AwaitingProbe = false;
    if (!r.StatusText.isEmpty() && (r.statusFromHost != fromAddress || r.statusFromPort != fromPort))
        r.StatusText.clear();  // another server's partial reply is dropped, never mixed
    if (r.StatusText.isEmpty()) {
        r.statusFromHost = fromAddress;
        r.statusFromPort = fromPort;
    }
    r.RemoteHost = fromAddress;
    r.RemotePort = fromPort;
    gatherStatusText(d);
}

void ServerMonitor::gatherStatusText(const QString& d) {
    ReplyState& r = reply_;
    if (r.discardingReply) {
        // The rest of an oversized reply is dropped up to its end.
        if (d.contains(QLatin1String("\\final\\"))) r.discardingReply = false;
        return;
    }
    if (r.StatusText.size() + d.size() > kMaxStatusText) {
        r.StatusText.clear();
        r.discardingReply = !d.contains(QLatin1String("\\final\\"));
        return;
    }
    r.StatusText += d;
    if (!isStatusComplete(r.StatusText)) return;
    r.StatusFields = splitStatusFields(r.StatusText);
    const ReplyGame game = replyGame(r.StatusText);
    r.StatusText.clear();
    if (game == ReplyGame::Ut2) DecodeUt2Status(s_, r);
    else if (game == ReplyGame::Ut) DecodeUtStatus(s_, r);
    else return;
    notifyPanel();
}

void ServerMonitor::notifyPanel() {
    if (panelChanged) panelChanged();
}

void ServerMonitor::closeSocket() { socket_.close(); }
