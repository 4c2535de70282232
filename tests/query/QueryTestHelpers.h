#pragma once
#include <QStringList>
#include <QTest>
#include <initializer_list>

#include "query/MainGrids.h"
#include "query/ServerMonitor.h"
#include "query/StatusWriter.h"
#include "state/AppConfig.h"
#include "state/FavouritesFiles.h"
#include "state/ProgramFolder.h"
#include "support/StandinProcess.h"
#include "support/TestSupport.h"

inline const QString kHost = QStringLiteral("127.0.0.1");

// A "servers.ini" line for a loopback server.
inline QString favourite(int port, const char* code) {
    return QStringLiteral("127.0.0.1:%1:%2").arg(port).arg(code);
}
// Lines for servers on every step-th port from the first.
inline QStringList favourites(int first, int count, const char* code, int step = 1) {
    QStringList lines;
    for (int i = 0; i < count; ++i) lines << favourite(first + step * i, code);
    return lines;
}

// A program folder whose "servers.ini" and "buddies.ini" hold the given lines, loaded as
// start-up does; no probe wait, so "\status\" goes at the next turn of the event loop.
struct MonitorFixture {
    TempProgramFolder folder;
    MainState s;
    ServerMonitor m{s};

    explicit MonitorFixture(const QStringList& servers = {}, const QStringList& buddies = {}) {
        appConfig().refreshDelay = QStringLiteral("0");
        const auto lines = [](const QStringList& l) {
            return (l.join("\r\n") + (l.isEmpty() ? "" : "\r\n")).toLatin1();
        };
        folder.write(kServersFileName, lines(servers));
        folder.write(kBuddiesFileName, lines(buddies));
        setUpServerGrid(s);
        setUpPlayerGrid(s);
        setUpBuddyGrid(s);
        loadServerList(s);
        loadBuddyList(s);
    }
    // Asks the server of a row and lets the query reach its "\status\" (unless answered).
    void ask(int row) {
        const int port = queryPortOf(s.serverGrid, row);
        m.queryServer(cell(row, ServerCol::Address), port, cell(row, ServerCol::GameCode));
        (void)QTest::qWaitFor([&] { return m.querier().awaitsStatusReply(kHost, port); }, 2000);
    }
    void feed(const QByteArray& d, int port, const QString& host = kHost) {
        m.querier().onDatagram(d, host, port);
    }
    QString cell(int row, int col) const { return s.serverGrid.cellText(row, col); }
};

// Loopback ports held unanswered for the whole test process, twelve in a row, so the
// probe port nine below a UT2 query port is held too.
inline int quietPort(int index) {
    static const SilentPorts held(12);
    return held.port(index);
}
inline const int kQuietUtPort = quietPort(10);
inline const int kQuietUt2Port = quietPort(11);

// The one favourite of the given game, on a port nobody answers on, asked once as the
// selected server; its replies are fed by hand.
struct AskedOnce : MonitorFixture {
    int port;
    explicit AskedOnce(bool ut2 = true, const QStringList& buddies = {})
        : MonitorFixture({favourite(ut2 ? kQuietUt2Port : kQuietUtPort, ut2 ? "UT3" : "UT")}, buddies),
          port(ut2 ? kQuietUt2Port : kQuietUtPort) {
        s.scanRow = 1;
        ask(1);
    }
    void reply(const QByteArray& d) { feed(d, port); }
};

// A whole reply announcing the given player count, extra "\key\value" text before "\final\".
inline QByteArray ut2004Reply(const QByteArray& count = "0", const QByteArray& extra = {}) {
    return "\\gamename\\ut2004\\hostname\\Test Server\\hostport\\7777\\maptitle\\Torlan\\mapname\\ONS-Torlan"
           "\\gametype\\xDeathMatch\\numplayers\\" +
           count + "\\maxplayers\\16\\password\\0" + extra + "\\final\\";
}
inline QByteArray utReply(const QByteArray& count = "0", const QByteArray& extra = {}) {
    return "\\gamename\\ut\\hostname\\UT Server\\hostport\\7777\\maptitle\\Deck16\\mapname\\DM-Deck16"
           "\\gametype\\DeathMatchPlus\\numplayers\\" +
           count + "\\maxplayers\\16" + extra + "\\final\\";
}

// The player keys as servers send them.
inline QByteArray playerKeys(int i, const QByteArray& name, const QByteArray& team = "0") {
    const QByteArray n = QByteArray::number(i);
    return "\\player_" + n + '\\' + name + "\\frags_" + n + "\\" + QByteArray::number(i * 3) + "\\ping_" + n +
           "\\" + QByteArray::number(50 + i) + "\\team_" + n + '\\' + team;
}

// A reply cut before the given keys into numbered parts "\queryid\<id>.<n>", as servers send it.
inline QList<QByteArray> numberedParts(const QByteArray& whole, int id,
                                       std::initializer_list<const char*> cuts) {
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

// The rules reply to the UT2 probe: keys and values in turn.
inline QByteArray probeReply(std::initializer_list<QByteArray> keysAndValues) {
    QByteArray r("\x80\0\0\0\x01", 5);
    for (const QByteArray& field : keysAndValues) r += char(field.size() + 1) + field + '\0';
    return r;
}
