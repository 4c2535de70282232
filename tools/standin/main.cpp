// vyrn-standin: a stand-in game server on 127.0.0.1. It answers "\status\" like a UT,
// UT2003 or UT2004 server (the reply cut into datagrams of about 1000 bytes, each ending
// in "\queryid\N.k", the last with "\final\") and the UT2 rules probe (79 00 00 00 01) on
// the query port - 9 with a binary rules reply. Faults on request: delay, lost
// datagrams, reversed order, garbage, "\final\" before "\queryid\".
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QHostAddress>
#include <QMap>
#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QSet>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>
#include <chrono>
#include <thread>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <time.h>
#include <cstdio>
#include <memory>

namespace {

enum class Game { Ut, Ut2003, Ut2004 };

struct Options {
    Game game = Game::Ut;
    int port = 7778;        // query port of the first server
    int servers = 1;
    int portStep = 1;
    QByteArray name = "VYRN Stand-in";
    QList<QByteArray> players;
    int maxPlayers = 16;
    int announcedPlayers = -1;  // -1: the number listed
    int splitBytes = 1000;
    int delayMs = 0;
    QList<int> drop;        // 1-based datagram numbers never sent
    bool dropFirstOnly = false;  // ... only in each server's first reply, as a burst loses them
    bool reverse = false;
    QList<int> order;       // 1-based datagram numbers, sent first in this order
    bool garbage = false;
    bool finalFirst = false;
    bool colour = false;
    bool noProbe = false;
    bool cutFields = false;    // datagrams cut at exactly splitBytes, inside a field if need be
    bool danglingKey = false;  // the reply's last key sent without its value
    bool utf8 = false;         // names sent as UTF-8, as newer server builds do
    QByteArray gameName;       // instead of the game's own
    QString recordFile;        // one line per status query answered
    bool nativeOnly = false;
    QByteArray map = "DM-Deck16][";
    QByteArray mapTitle = "Deck16][";
    QByteArray gameType;
    QByteArray password;
    QByteArray timeLimit = "20";
    QString adminName = QStringLiteral("Stand-in Admin");
    QByteArray adminEmail = "admin@example.com";
    QList<QByteArray> mutators;
    double lifetimeSeconds = 60;
};

// UT2004 colour code: ESC then red, green, blue, 0 sent as 1.
QByteArray colourCode(int r, int g, int b) {
    QByteArray c(1, char(27));
    for (int v : {r, g, b}) c.append(char(v == 0 ? 1 : v));
    return c;
}

QByteArray serverName(const Options& o, int index) {
    QByteArray n = o.name;
    if (o.servers > 1) n += ' ' + QByteArray::number(index + 1);
    if (o.colour && o.game == Game::Ut2004) n = colourCode(255, 0, 0) + n;
    return n;
}

QByteArray defaultGameType(Game g) {
    return g == Game::Ut ? "DeathMatchPlus" : "xDeathMatch";
}

// The key/value pairs of the status reply, without queryid and final.
QList<QPair<QByteArray, QByteArray>> statusPairs(const Options& o, int index, int gamePort) {
    QList<QPair<QByteArray, QByteArray>> p;
    QByteArray gameName = o.game == Game::Ut ? "ut" : o.game == Game::Ut2003 ? "ut2" : "ut2004";
    if (!o.gameName.isEmpty()) gameName = o.gameName;
    const int announced = o.announcedPlayers >= 0 ? o.announcedPlayers : int(o.players.size());
    p << qMakePair(QByteArray("gamename"), gameName);
    p << qMakePair(QByteArray("gamever"), QByteArray(o.game == Game::Ut ? "451" : "3369"));
    if (o.game == Game::Ut) p << qMakePair(QByteArray("location"), QByteArray("0"));
    p << qMakePair(QByteArray("hostname"), serverName(o, index));
    p << qMakePair(QByteArray("hostport"), QByteArray::number(gamePort));
    p << qMakePair(QByteArray("maptitle"), o.mapTitle);
    p << qMakePair(QByteArray("mapname"), o.map);
    p << qMakePair(QByteArray("gametype"), o.gameType.isEmpty() ? defaultGameType(o.game) : o.gameType);
    p << qMakePair(QByteArray("numplayers"), QByteArray::number(announced));
    p << qMakePair(QByteArray("maxplayers"), QByteArray::number(o.maxPlayers));
    p << qMakePair(QByteArray("gamemode"), QByteArray("openplaying"));
    if (o.game == Game::Ut) {
        p << qMakePair(QByteArray("timelimit"), o.timeLimit);
        p << qMakePair(QByteArray("goalteamscore"), QByteArray("3"));
        p << qMakePair(QByteArray("mutators"), o.mutators.join(", "));
        p << qMakePair(QByteArray("adminname"), o.utf8 ? o.adminName.toUtf8() : o.adminName.toLatin1());
        p << qMakePair(QByteArray("adminemail"), o.adminEmail);
    }
    p << qMakePair(QByteArray("password"),
                   o.password.isEmpty() ? QByteArray(o.game == Game::Ut ? "False" : "0") : o.password);
    for (int i = 0; i < o.players.size(); ++i) {
        const QByteArray n = QByteArray::number(i);
        QByteArray name = o.players[i];
        if (o.colour && o.game == Game::Ut2004) name = colourCode(0, 128, 255) + name;
        p << qMakePair("player_" + n, name);
        p << qMakePair("frags_" + n, QByteArray::number((i * 7) % 31));
        // UT sends its pings with a leading blank.
        p << qMakePair("ping_" + n, (o.game == Game::Ut ? " " : "") + QByteArray::number(40 + i));
        p << qMakePair("team_" + n, QByteArray(i % 5 == 4 ? "255" : QByteArray::number(i % 2)));
        if (o.game == Game::Ut) {
            p << qMakePair("mesh_" + n, QByteArray("Male Commando"));
            p << qMakePair("skin_" + n, QByteArray());  // an empty value: two backslashes
        }
    }
    return p;
}

// The reply cut into datagrams of about splitBytes, each closed by "\queryid\N.k".
QList<QByteArray> statusDatagrams(const Options& o, int index, int gamePort, int queryId) {
    // A player's keys stay together in one datagram, as real servers send them.
    QList<QByteArray> blocks;
    for (const auto& [key, value] : statusPairs(o, index, gamePort)) {
        const QByteArray pair = '\\' + key + '\\' + value;
        if (key.startsWith("player_") || blocks.isEmpty() || !blocks.last().startsWith("\\player_"))
            blocks << pair;
        else
            blocks.last() += pair;
    }
    if (o.danglingKey) blocks << "\\dangling";
    QList<QByteArray> out;
    QByteArray current;
    if (o.cutFields) {
        // Cut where the size says, in the middle of a key or a value.
        const QByteArray all = blocks.join();
        for (qsizetype at = 0; at < all.size(); at += o.splitBytes) out << all.mid(at, o.splitBytes);
    } else {
        for (const QByteArray& pair : blocks) {
            if (!current.isEmpty() && current.size() + pair.size() > o.splitBytes) {
                out << current;
                current.clear();
            }
            current += pair;
        }
        out << current;
    }
    for (int k = 0; k < out.size(); ++k) {
        const QByteArray id = "\\queryid\\" + QByteArray::number(queryId) + '.' + QByteArray::number(k + 1);
        if (k + 1 < out.size()) out[k] += id;
        else out[k] += o.finalFirst ? "\\final\\" + id : id + "\\final\\";
    }
    return out;
}

QByteArray probeString(const QByteArray& text) {
    QByteArray s(1, char(text.size() + 1));
    return s + text + '\0';
}

// A text with a character outside Latin-1 goes as UCS-2, as the games send it: a length
// byte with its top bit set counting two-byte characters, the closing 0 included.
QByteArray probeText(const QString& text) {
    bool latin1 = true;
    for (const QChar c : text) latin1 = latin1 && c.unicode() < 0x100;
    if (latin1) return probeString(text.toLatin1());
    QByteArray s(1, char(0x80 | (text.size() + 1)));
    for (const QChar c : text + QChar(0)) s += char(c.unicode() & 0xff), s += char(c.unicode() >> 8);
    return s;
}

void appendInt32(QByteArray& r, int v) {
    for (int i = 0; i < 4; ++i) r.append(char((quint32(v) >> (8 * i)) & 0xff));
}

QByteArray nativeHeader(const Options& o, char type) {
    QByteArray r(o.game == Game::Ut2003 ? "\x79\x00\x00\x00" : "\x80\x00\x00\x00", 4);
    return r + type;
}

// The binary rules reply of a UT2003 (0x79) or UT2004 (0x80) server.
QByteArray rulesReply(const Options& o) {
    const bool ut2003 = o.game == Game::Ut2003;
    QByteArray r = nativeHeader(o, 1);
    auto rule = [&](QByteArray key, const QString& value) {
        if (ut2003) key = key.toLower();  // UT2003 sends its rule names in lower case
        r += probeString(key) + probeText(value);
    };
    rule("ServerMode", "dedicated");
    rule("AdminName", o.adminName);
    rule("AdminEmail", QString::fromLatin1(o.adminEmail));
    rule("ServerVersion", "3369");
    rule("GameStats", "False");
    rule("GoalScore", "25");
    if (!o.timeLimit.isEmpty()) rule("TimeLimit", QString::fromLatin1(o.timeLimit));
    rule("Translocator", "True");
    for (const QByteArray& m : o.mutators) rule("Mutator", QString::fromLatin1(m));
    return r;
}

// The native server information reply (query type 0).
QByteArray infoReply(const Options& o, int index, int gamePort, int queryPort) {
    QByteArray r = nativeHeader(o, 0);
    appendInt32(r, index);
    r += '\0';  // the address, left empty as real servers do
    appendInt32(r, gamePort);
    appendInt32(r, queryPort);
    r += probeString(serverName(o, index));
    r += probeString(o.map);
    r += probeString(o.gameType.isEmpty() ? defaultGameType(o.game) : o.gameType);
    appendInt32(r, o.announcedPlayers >= 0 ? o.announcedPlayers : int(o.players.size()));
    appendInt32(r, o.maxPlayers);
    appendInt32(r, 0);  // ping
    if (o.game == Game::Ut2004) {
        appendInt32(r, 0);  // flags
        r += probeString("3");
    }
    return r;
}

// The native player list reply (query type 2).
QByteArray playersReply(const Options& o) {
    QByteArray r = nativeHeader(o, 2);
    for (int i = 0; i < o.players.size(); ++i) {
        appendInt32(r, i + 1);
        r += probeString(o.players[i]);
        appendInt32(r, 40 + i);            // ping
        appendInt32(r, (i * 7) % 31);      // score
        appendInt32(r, 0);                 // stats id
    }
    return r;
}

// The datagrams named by the order first, as listed, then the others as they were.
QList<QByteArray> reordered(const QList<QByteArray>& datagrams, const QList<int>& order) {
    QList<QByteArray> out;
    QList<bool> used(datagrams.size(), false);
    for (int n : order)
        if (n >= 1 && n <= datagrams.size() && !used[n - 1]) {
            out << datagrams[n - 1];
            used[n - 1] = true;
        }
    for (int i = 0; i < datagrams.size(); ++i)
        if (!used[i]) out << datagrams[i];
    return out;
}

// When the system received the datagram just read from the socket, so a delay counts
// from the query's arrival even when this process was slow to read it.
std::chrono::steady_clock::time_point kernelReceiveTime(QUdpSocket* socket) {
    const auto now = std::chrono::steady_clock::now();
    timespec stamp{}, wall{};
    if (ioctl(int(socket->socketDescriptor()), SIOCGSTAMPNS, &stamp) != 0) return now;
    clock_gettime(CLOCK_REALTIME, &wall);
    const long long ageNs = (wall.tv_sec - stamp.tv_sec) * 1000000000LL + (wall.tv_nsec - stamp.tv_nsec);
    return ageNs >= 0 && ageNs < 1000000000LL ? now - std::chrono::nanoseconds(ageNs) : now;
}

class StandIn : public QObject {
public:
    explicit StandIn(Options o) : o_(std::move(o)) {}

    // Port 0: the system picks a free port for the lowest socket and the others follow it;
    // when one of them is taken, it picks again.
    bool start() {
        if (o_.port != 0) return bindAll(o_.port, true);
        const int below = o_.game != Game::Ut && !o_.noProbe ? 9 : 0;
        for (int attempt = 0; attempt < 100; ++attempt) {
            QUdpSocket lowest;
            if (!lowest.bind(QHostAddress::LocalHost, 0)) break;
            const int first = lowest.localPort() + below;
            lowest.close();
            if (bindAll(first, false)) return true;
        }
        std::fprintf(stderr, "cannot find %d free ports in a row on 127.0.0.1\n",
                     o_.servers * o_.portStep + 9);
        return false;
    }
    int port() const { return o_.port; }

    bool bindAll(int first, bool report) {
        queryPorts_.clear();
        probePorts_.clear();
        sockets_.clear();
        o_.port = first;
        for (int i = 0; i < o_.servers; ++i) {
            const int q = o_.port + i * o_.portStep;
            queryPorts_[q] = i;
            if (o_.game != Game::Ut && !o_.noProbe) probePorts_[q - 9] = i;
        }
        QList<int> ports = queryPorts_.keys();
        for (int p : probePorts_.keys()) if (!queryPorts_.contains(p)) ports << p;
        for (int p : ports) {
            auto s = std::make_unique<QUdpSocket>();
            if (p < 1 || p > 65535 || !s->bind(QHostAddress::LocalHost, quint16(p))) {
                if (report) std::fprintf(stderr, "cannot bind 127.0.0.1:%d\n", p);
                return false;
            }
            QUdpSocket* raw = s.get();
            timespec unused{};
            ioctl(int(raw->socketDescriptor()), SIOCGSTAMPNS, &unused);  // receive times from now on
            connect(raw, &QUdpSocket::readyRead, this, [this, raw, p] { readPending(raw, p); });
            sockets_.push_back(std::move(s));
        }
        return true;
    }

private:
    void readPending(QUdpSocket* socket, int port) {
        while (socket->hasPendingDatagrams()) {
            const QNetworkDatagram d = socket->receiveDatagram();
            receivedAt_ = kernelReceiveTime(socket);
            const QByteArray q = d.data();
            if (q.startsWith('\\') && queryPorts_.contains(port) && !o_.nativeOnly) {
                const qint64 arrivedNs =
                    std::chrono::duration_cast<std::chrono::nanoseconds>(receivedAt_.time_since_epoch())
                        .count();
                const int index = queryPorts_[port];
                // The game port is one below a UT query port and ten below a UT2 one.
                const int gamePort = port - (o_.game == Game::Ut ? 1 : 10);
                const bool first = !answered_.contains(port);
                answered_.insert(port);
                answer(socket, d, statusDatagrams(o_, index, gamePort, ++queryId_), true, first, arrivedNs,
                       port);
            } else if (q.size() == 5 && probePorts_.contains(port)) {
                // The native protocol: 0 server information, 1 rules, 2 players.
                const int index = probePorts_[port];
                if (q[4] == 0) answer(socket, d, {infoReply(o_, index, port - 1, port + 9)}, false);
                else if (q[4] == 1) answer(socket, d, {rulesReply(o_)}, false);
                else if (q[4] == 2) answer(socket, d, {playersReply(o_)}, false);
                // 3, everything at once (qstat asks so): the three replies in turn.
                else if (q[4] == 3)
                    answer(socket, d,
                           {infoReply(o_, index, port - 1, port + 9), rulesReply(o_), playersReply(o_)},
                           false);
            }
        }
    }

    void answer(QUdpSocket* socket, const QNetworkDatagram& query, QList<QByteArray> datagrams, bool faults,
                bool firstReply = false, qint64 arrivedNs = -1, int port = 0) {
        if (faults) {
            if (o_.reverse) std::reverse(datagrams.begin(), datagrams.end());
            if (!o_.order.isEmpty()) datagrams = reordered(datagrams, o_.order);
            QList<QByteArray> kept;
            for (int i = 0; i < datagrams.size(); ++i)
                if (!o_.drop.contains(i + 1) || (o_.dropFirstOnly && !firstReply)) kept << datagrams[i];
            datagrams = kept;
            if (o_.garbage) {
                QByteArray junk(64 + int(QRandomGenerator::global()->bounded(200)), '\0');
                for (char& c : junk) c = char(QRandomGenerator::global()->bounded(256));
                datagrams.prepend(junk);
            }
        }
        const QHostAddress to = query.senderAddress();
        const quint16 toPort = quint16(query.senderPort());
        auto send = [this, socket, to, toPort, datagrams, arrivedNs, port] {
            // The time the first datagram leaves, on the clients' monotonic clock.
            const qint64 sentNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::steady_clock::now().time_since_epoch())
                                      .count();
            for (const QByteArray& d : datagrams) socket->writeDatagram(d, to, toPort);
            if (arrivedNs >= 0) record(port, arrivedNs, sentNs);
        };
        if (o_.delayMs <= 0 || !faults) return send();
        // The event loop may wake late on a busy machine; the last stretch is slept exactly,
        // so a delay measured by a client is the delay asked for.
        const auto due = receivedAt_ + std::chrono::milliseconds(o_.delayMs);
        QTimer::singleShot(std::max(0, o_.delayMs - 20), Qt::PreciseTimer, this, [send, due] {
            std::this_thread::sleep_until(due);
            send();
        });
    }

    // "status PORT ARRIVED SENT": the query port, when a status query came in (the system's
    // stamp) and when the answer went out, in nanoseconds of the monotonic clock, for a
    // test to hold a measured ping against.
    void record(int port, qint64 arrivedNs, qint64 sentNs) {
        if (o_.recordFile.isEmpty()) return;
        QFile f(o_.recordFile);
        if (!f.open(QIODevice::Append)) return;
        f.write("status " + QByteArray::number(port) + ' ' + QByteArray::number(arrivedNs) + ' ' +
                QByteArray::number(sentNs) + '\n');
    }

    Options o_;
    QMap<int, int> queryPorts_, probePorts_;
    std::vector<std::unique_ptr<QUdpSocket>> sockets_;
    int queryId_ = 0;
    QSet<int> answered_;  // query ports that have had a reply
    std::chrono::steady_clock::time_point receivedAt_;
};

QList<QByteArray> splitList(const QString& text) {
    QList<QByteArray> out;
    for (const QString& s : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) out << s.toLatin1();
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription("Stand-in UT/UT2003/UT2004 server on 127.0.0.1");
    p.addHelpOption();
    auto opt = [&](const char* name, const char* help, const char* value = nullptr) {
        if (value) p.addOption({QString::fromLatin1(name), QString::fromLatin1(help), QString::fromLatin1(value)});
        else p.addOption({QString::fromLatin1(name), QString::fromLatin1(help)});
    };
    opt("game", "ut, ut2003 or ut2004", "game");
    opt("port", "query port of the first server (0: the system picks); the UT2 probe goes to port - 9", "port");
    opt("servers", "number of servers, on consecutive query ports", "n");
    opt("port-step", "distance between the query ports of the servers", "n");
    opt("name", "server name (numbered when there are several servers)", "text");
    opt("players", "comma-separated player names", "names");
    opt("player-count", "list this many generated players", "n");
    opt("announce", "player count to announce (default: the number listed)", "n");
    opt("max-players", "maximum player count", "n");
    opt("split", "datagram size to cut the reply at", "bytes");
    opt("delay-ms", "wait before answering", "ms");
    opt("drop", "comma-separated 1-based datagram numbers never sent", "list");
    opt("drop-first-reply", "drop those datagrams only from each server's first reply");
    opt("reverse", "send the datagrams of a reply in reverse order");
    opt("order", "comma-separated 1-based datagram numbers to send first, in this order", "list");
    opt("garbage", "send a datagram of random bytes before each reply");
    opt("final-first", "put \\final\\ before \\queryid\\ in the last datagram");
    opt("colour", "UT2004 colour codes in the server and player names");
    opt("no-probe", "do not answer the UT2 probe");
    opt("cut-fields", "cut the reply at exactly --split bytes, inside keys and values");
    opt("dangling-key", "end the reply with a key that has no value");
    opt("utf8", "send names as UTF-8 (default: Latin-1)");
    opt("name-hex", "server name as raw bytes, in hex", "hex");
    opt("admin", "admin name; sent as UCS-2 in the probe when it holds a character outside Latin-1", "text");
    opt("gamename", "gamename value to send instead of the game's own", "text");
    opt("record", "append a line per status query answered: status PORT ARRIVED_NS SENT_NS", "file");
    opt("native-only", "UT2003/UT2004: answer only the native protocol, never \"\\status\\\"");
    opt("map", "map name", "text");
    opt("gametype", "game type", "text");
    opt("password", "password value as sent", "text");
    opt("timelimit", "time limit (empty: none)", "text");
    opt("mutators", "comma-separated mutators", "list");
    opt("lifetime-seconds", "stop after this many seconds", "s");
    p.process(app);

    Options o;
    const QString game = p.value("game").toLower();
    if (game == "ut2003" || game == "ut2") o.game = Game::Ut2003;
    else if (game == "ut2004" || game == "ut3") o.game = Game::Ut2004;
    if (p.isSet("port")) o.port = p.value("port").toInt();
    if (p.isSet("servers")) o.servers = std::max(1, p.value("servers").toInt());
    if (p.isSet("port-step")) o.portStep = std::max(1, p.value("port-step").toInt());
    o.utf8 = p.isSet("utf8");
    const auto bytes = [&](const QString& text) { return o.utf8 ? text.toUtf8() : text.toLatin1(); };
    if (p.isSet("name")) o.name = bytes(p.value("name"));
    if (p.isSet("name-hex")) o.name = QByteArray::fromHex(p.value("name-hex").toLatin1());
    if (p.isSet("players"))
        for (const QString& n : p.value("players").split(QLatin1Char(','), Qt::SkipEmptyParts))
            o.players << bytes(n);
    if (p.isSet("admin")) o.adminName = p.value("admin");
    if (p.isSet("gamename")) o.gameName = p.value("gamename").toLatin1();
    if (p.isSet("record")) o.recordFile = p.value("record");
    o.cutFields = p.isSet("cut-fields");
    o.danglingKey = p.isSet("dangling-key");
    if (p.isSet("player-count"))
        for (int i = 0, n = p.value("player-count").toInt(); i < n; ++i)
            o.players << "Player" + QByteArray::number(i + 1);
    if (p.isSet("announce")) o.announcedPlayers = p.value("announce").toInt();
    if (p.isSet("max-players")) o.maxPlayers = p.value("max-players").toInt();
    if (p.isSet("split")) o.splitBytes = std::max(64, p.value("split").toInt());
    if (p.isSet("delay-ms")) o.delayMs = p.value("delay-ms").toInt();
    o.dropFirstOnly = p.isSet("drop-first-reply");
    if (p.isSet("drop"))
        for (const QByteArray& d : splitList(p.value("drop"))) o.drop << d.toInt();
    o.reverse = p.isSet("reverse");
    if (p.isSet("order"))
        for (const QByteArray& n : splitList(p.value("order"))) o.order << n.toInt();
    o.garbage = p.isSet("garbage");
    o.finalFirst = p.isSet("final-first");
    o.colour = p.isSet("colour");
    o.noProbe = p.isSet("no-probe");
    o.nativeOnly = p.isSet("native-only");
    if (p.isSet("map")) { o.map = p.value("map").toLatin1(); o.mapTitle = o.map; }
    if (p.isSet("gametype")) o.gameType = p.value("gametype").toLatin1();
    if (p.isSet("password")) o.password = p.value("password").toLatin1();
    if (p.isSet("timelimit")) o.timeLimit = p.value("timelimit").toLatin1();
    if (p.isSet("mutators")) o.mutators = splitList(p.value("mutators"));
    if (p.isSet("lifetime-seconds")) o.lifetimeSeconds = p.value("lifetime-seconds").toDouble();

    StandIn server(o);
    if (!server.start()) return 1;
    QTimer::singleShot(int(o.lifetimeSeconds * 1000), &app, &QCoreApplication::quit);
    std::printf("ready %d\n", server.port());  // the first query port, picked by the system for --port 0
    std::fflush(stdout);
    return app.exec();
}
