#pragma once
#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <utility>

#include "query/MainGrids.h"
#include "query/ServerMonitor.h"
#include "query/StatusDecoders.h"
#include "query/StatusWriter.h"
#include "state/AppConfig.h"
#include "state/FavouritesFiles.h"
#include "state/MainState.h"
#include "state/ProgramFolder.h"
#include "support/StandinProcess.h"
#include "support/TestSupport.h"

inline const QString kHost = QStringLiteral("127.0.0.1");

// A "servers.ini" line for a loopback server.
inline QString favourite(int port, const char* code) { return QStringLiteral("127.0.0.1:%1:%2").arg(port).arg(code); }

// Runs the event loop until the condition holds or the time is up.
template <typename Condition>
bool waitFor(Condition done, int ms = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        pumpEvents(5);
    }
    return true;
}

// A program folder whose "servers.ini" and "buddies.ini" hold the given lines, loaded
// into laid-out grids as start-up does. The UT2 probe wait is 0, so a query moves on
// to "\status\" at the next turn of the event loop.
struct MonitorFixture {
    TempProgramFolder folder;
    MainState s;
    ServerMonitor m{s};

    explicit MonitorFixture(const QStringList& servers = {}, const QStringList& buddies = {}) {
        appConfig().RefreshDelay = QStringLiteral("0");
        const auto lines = [](const QStringList& l) { return (l.join("\r\n") + (l.isEmpty() ? "" : "\r\n")).toLatin1(); };
        folder.write(kServersFileName, lines(servers));
        folder.write(kBuddiesFileName, lines(buddies));
        SetupServerGrid(s);
        SetupPlayerGrid(s);
        SetupBuddyGrid(s);
        LoadServerList(s);
        LoadBuddyList(s);
    }
    // Asks the server of a row and lets the query reach its "\status\".
    void ask(int row) {
        const int port = queryPortOf(s.ServerGrid, row);
        m.QueryServer(cell(row, ServerCol::Address), port, cell(row, ServerCol::GameCode));
        waitFor([&] { return m.querier().awaitsStatusReply(kHost, port); }, 2000);
    }
    void feed(const QByteArray& d, int port, const QString& host = kHost) { m.querier().onDatagram(d, host, port); }
    QString cell(int row, int col) const { return s.ServerGrid.TextMatrix(row, col); }
};

// Loopback query ports of this test process that no server answers on.
inline const int kQuietUtPort = testPortBase(17);
inline const int kQuietUt2Port = testPortBase(18);

using Pairs = std::initializer_list<std::pair<const char*, QByteArray>>;
// "\key\value" for every pair.
inline QByteArray statusText(Pairs pairs) {
    QByteArray t;
    for (const auto& [k, v] : pairs) t += '\\' + QByteArray(k) + '\\' + v;
    return t;
}

// A complete UT2004 reply with the given extra pairs before "\final\".
inline QByteArray ut2004Reply(Pairs extra, const QByteArray& players = "0") {
    return statusText({{"gamename", "ut2004"}, {"hostname", "Test Server"}, {"hostport", "7777"},
                       {"maptitle", "Torlan"}, {"mapname", "ONS-Torlan"}, {"gametype", "xDeathMatch"},
                       {"numplayers", players}, {"maxplayers", "16"}, {"password", "0"}}) +
           statusText(extra) + "\\final\\";
}

inline QByteArray utReply(Pairs extra, const QByteArray& players = "0") {
    return statusText({{"gamename", "ut"}, {"hostname", "UT Server"}, {"hostport", "7777"},
                       {"maptitle", "Deck16"}, {"mapname", "DM-Deck16"}, {"gametype", "DeathMatchPlus"},
                       {"numplayers", players}, {"maxplayers", "16"}}) +
           statusText(extra) + "\\final\\";
}

// The player keys as servers send them.
inline QByteArray playerKeys(int i, const QByteArray& name, const QByteArray& team = "0") {
    const QByteArray n = QByteArray::number(i);
    return "\\player_" + n + '\\' + name + "\\frags_" + n + "\\" + QByteArray::number(i * 3) + "\\ping_" + n +
           "\\" + QByteArray::number(50 + i) + "\\team_" + n + '\\' + team;
}

// Reply text with players inserted before "\final\".
inline QByteArray withPlayers(QByteArray reply, const QByteArray& players) {
    reply.insert(reply.indexOf("\\final\\"), players);
    return reply;
}

// A reply cut before the given keys into numbered parts "\queryid\<id>.<n>", as servers send it.
inline QList<QByteArray> numberedParts(const QByteArray& whole, int id, std::initializer_list<const char*> cuts) {
    QList<QByteArray> parts;
    qsizetype from = 0;
    const QByteArray tag = "\\queryid\\" + QByteArray::number(id) + '.';
    for (const char* key : cuts) {
        const qsizetype at = whole.indexOf(key);
        parts << whole.mid(from, at - from) + tag + QByteArray::number(parts.size() + 1);
        from = at;
    }
    parts << whole.mid(from).replace("\\final\\", tag + QByteArray::number(parts.size() + 1) + "\\final\\");
    return parts;
}

// The rules reply to the UT2 probe.
inline QByteArray probeReply(std::initializer_list<std::pair<QByteArray, QByteArray>> rules) {
    QByteArray r(5, '\0');
    r[0] = char(0x80);
    r[4] = 1;
    for (const auto& [k, v] : rules) r += char(k.size() + 1) + k + '\0' + char(v.size() + 1) + v + '\0';
    return r;
}
