#pragma once
#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <utility>

#include "query/MainGrids.h"
#include "query/ServerMonitor.h"
#include "query/StatusDecoders.h"
#include "state/FavouritesFiles.h"
#include "state/MainState.h"

// Adds a favourite row to the server grid the way the loader fills it.
inline int addFavourite(MainState& s, const QString& address, int port, const QString& code) {
    FlexGrid& g = s.ServerGrid;
    if (g.Rows() == 2 && g.TextMatrix(1, 2).isEmpty() && g.TextMatrix(1, 0).isEmpty()) {
        // first row of a freshly laid out grid
    } else {
        g.AddItem(QString());
    }
    const int row = g.Rows() - 1;
    g.setTextMatrix(row, 0, QString::number(row));
    g.setTextMatrix(row, 1, address);
    g.setTextMatrix(row, 2, address);
    g.setTextMatrix(row, 3, QString::number(port));
    g.setTextMatrix(row, 7, code);
    g.setTextMatrix(row, 9, gameDisplayName(code));
    return row;
}

// A main state with laid-out grids.
struct MonitorFixture {
    MainState s;
    ServerMonitor m{s};
    MonitorFixture() {
        SetupServerGrid(s);
        SetupPlayerGrid(s);
        SetupBuddyGrid(s);
    }
};

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
                       {"maptitle", "Torlan"}, {"mapname", "ONS-Torlan"},
                       {"gametype", "xDeathMatch"}, {"numplayers", players},
                       {"maxplayers", "16"}, {"password", "0"}}) +
           statusText(extra) + "\\final\\";
}

inline QByteArray utReply(Pairs extra, const QByteArray& players = "0") {
    return statusText({{"gamename", "ut"}, {"hostname", "UT Server"}, {"hostport", "7777"},
                       {"maptitle", "Deck16"}, {"mapname", "DM-Deck16"},
                       {"gametype", "DeathMatchPlus"}, {"numplayers", players},
                       {"maxplayers", "16"}}) +
           statusText(extra) + "\\final\\";
}

// The player keys as servers send them.
inline QByteArray playerKeys(int i, const QByteArray& name, const QByteArray& team = "0") {
    const QByteArray n = QByteArray::number(i);
    return "\\player_" + n + '\\' + name + "\\frags_" + n + "\\" + QByteArray::number(i * 3) +
           "\\ping_" + n + "\\" + QByteArray::number(50 + i) + "\\team_" + n + '\\' + team;
}

// Reply text with players inserted before "\final\".
inline QByteArray withPlayers(QByteArray reply, const QByteArray& players) {
    reply.insert(reply.indexOf("\\final\\"), players);
    return reply;
}

// The rules reply to the UT2 probe.
inline QByteArray probeReply(std::initializer_list<std::pair<QByteArray, QByteArray>> rules,
                             char version = char(0x80)) {
    QByteArray r(5, '\0');
    r[0] = version;
    r[4] = 1;
    for (const auto& [k, v] : rules) {
        r += char(k.size() + 1) + k + '\0';
        r += char(v.size() + 1) + v + '\0';
    }
    return r;
}
