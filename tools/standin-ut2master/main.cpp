// vyrn-standin-ut2master: a stand-in UT2003/UT2004 master server on 127.0.0.1. It sends a
// challenge, checks the client's two hashes against the CD key it was given, says
// "APPROVED" (and, for UT2004, "VERIFIED" after the verification string), filters its
// servers by the query's "gametype" item and sends the count and one record per server.
// Faults on request.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>

#include "master/Ut2Wire.h"

namespace {

struct Options {
    QByteArray game = "ut2004";
    QByteArray cdKey;
    int servers = 10;
    int listPort = 7777;  // game port of the first server
    int listStep = 1;
    QList<QByteArray> gameTypes{"xDeathMatch"};
    QByteArray name = "Stand-in";
    QString fault;
    qint64 floodCount = 10'000'000;
    int byteDelayMs = 1000;
    double lifetimeSeconds = 60;
};

QByteArray md5Hex(const QByteArray& b) {
    return QCryptographicHash::hash(b, QCryptographicHash::Md5).toHex();
}

QByteArray record(quint32 address, int gamePort, const QByteArray& name, const QByteArray& map,
                  const QByteArray& type, int players, int max) {
    QByteArray r;
    for (int shift : {24, 16, 8, 0}) r += char((address >> shift) & 0xff);
    r += char(gamePort & 0xff);
    r += char((gamePort >> 8) & 0xff);
    r += char((gamePort + 1) & 0xff);
    r += char(((gamePort + 1) >> 8) & 0xff);
    r += ut2String(name) + ut2String(map) + ut2String(type) + char(players) + char(max) + ut2Dword(0) +
         ut2String("");
    return ut2Packet(r);
}

constexpr quint32 kLoopback = 0x7f000001;

class Session : public QObject {
public:
    Session(QTcpSocket* s, const Options& o) : QObject(s), s_(s), o_(o) {
        connect(s_, &QTcpSocket::readyRead, this, [this] { read(); });
        connect(s_, &QTcpSocket::disconnected, s_, &QObject::deleteLater);
        connect(s_, &QTcpSocket::bytesWritten, this, [this] { pump(); });
        for (int i = 0; i < 6; ++i) challenge_ += char('A' + QRandomGenerator::global()->bounded(26));
        if (o_.fault != QLatin1String("no-challenge")) s_->write(ut2Packet(ut2String(challenge_)));
    }

private:
    void read() {
        packets_.feed(s_->read(8192));
        while (const auto body = packets_.next()) take(*body);
        if (packets_.oversized()) s_->abort();
    }

    void take(const QByteArray& body) {
        Ut2Reader r(body);
        ++stage_;
        if (stage_ == 1) {
            const QString keyHash = r.string().value_or(QString()), response = r.string().value_or(QString());
            const QString client = r.string().value_or(QString());
            const bool good = keyHash == QString::fromLatin1(md5Hex(o_.cdKey)) &&
                              response == QString::fromLatin1(md5Hex(o_.cdKey + challenge_)) &&
                              client == QLatin1String(o_.game == "ut2003" ? "CLIENT" : "UT2K4CLIENT");
            if (!good || o_.fault == QLatin1String("refuse-key")) {
                std::fprintf(stderr, "CD key refused\n");
                s_->write(ut2Packet(ut2String("UNKNOWN_CDKEY")));
                return s_->disconnectFromHost();
            }
            s_->write(ut2Packet(ut2String("APPROVED") + ut2Dword(3)));
            if (o_.game == "ut2003") ++stage_;  // no verification step
            return;
        }
        if (stage_ == 2) {
            s_->write(ut2Packet(ut2String("VERIFIED")));
            return;
        }
        if (stage_ != 3) return;
        r.byte();
        const int items = r.compactNumber().value_or(0);
        for (int i = 0; i < items; ++i) {
            const QString field = r.string().value_or(QString()), value = r.string().value_or(QString());
            r.byte();
            if (field.compare(QLatin1String("gametype"), Qt::CaseInsensitive) == 0)
                filter_ = value.toLatin1();
        }
        serve();
    }

    void serve() {
        QByteArray list;
        quint32 count = 0;
        for (int i = 0; i < o_.servers; ++i) {
            const QByteArray type = o_.gameTypes[i % o_.gameTypes.size()];
            if (!filter_.isEmpty() && type.compare(filter_, Qt::CaseInsensitive) != 0) continue;
            list += record(kLoopback, o_.listPort + i * o_.listStep,
                           o_.name + ' ' + QByteArray::number(i + 1), "DM-Rankin", type, i % 5, 16);
            ++count;
        }
        const QString& f = o_.fault;
        if (f == QLatin1String("bad-records")) {
            list = record(0, 7777, "Nobody", "DM-X", "xDeathMatch", 0, 8) +
                   record(kLoopback, 0, "Port zero", "DM-X", "xDeathMatch", 0, 8) +
                   ut2Packet("\x7f\0\0\x01\x61") + list;
            count += 3;
        }
        if (f == QLatin1String("long-string")) {
            // One record whose name claims more bytes than the record holds.
            const QByteArray head = record(kLoopback, o_.listPort, "", "", "", 0, 0).mid(4, 8);
            list = ut2Packet(head + char(90) + "short");
            count = 1;
        }
        if (f == QLatin1String("huge-record")) list.prepend(ut2Dword(0x7fffffff));
        if (f == QLatin1String("short-count")) count += 5;
        if (f == QLatin1String("huge-count")) count = 0xffffffffu;
        if (f == QLatin1String("flood")) count = quint32(o_.floodCount);
        // The count in a packet of its own, the records after it, as the masters send them.
        s_->write(ut2Packet(ut2Dword(count) + char(1)));
        s_->flush();
        QTimer::singleShot(20, this, [this, list, f] {
            if (f == QLatin1String("close-early")) {
                s_->write(list.first(list.size() / 2));
                return s_->disconnectFromHost();
            }
            if (f == QLatin1String("flood")) {
                flooding_ = true;
                return pump();
            }
            if (f == QLatin1String("slow")) {
                slow_ = list;
                auto* t = new QTimer(this);
                connect(t, &QTimer::timeout, this, [this, t] {
                    if (slow_.isEmpty()) return t->stop();
                    s_->write(slow_.first(1));
                    slow_.remove(0, 1);
                });
                return t->start(o_.byteDelayMs);
            }
            s_->write(list);
            // "short-count" and "huge-count" keep the connection open, as a master that hangs would.
            if (f != QLatin1String("short-count") && f != QLatin1String("huge-count"))
                s_->disconnectFromHost();
        });
    }

    // Writes the flood as the socket drains, so the stand-in stays small; every address
    // is on loopback.
    void pump() {
        if (!flooding_) return;
        while (s_->bytesToWrite() < 256 * 1024 && sent_ < o_.floodCount) {
            QByteArray chunk;
            for (int i = 0; i < 1024 && sent_ < o_.floodCount; ++i, ++sent_)
                chunk += record(kLoopback + quint32(sent_ >> 8), 7777 + int(sent_ & 255), "Flood", "DM-X",
                                "xDeathMatch", 0, 8);
            s_->write(chunk);
        }
        if (sent_ >= o_.floodCount) {
            flooding_ = false;
            s_->disconnectFromHost();
        }
    }

    QTcpSocket* s_;
    const Options& o_;
    Ut2PacketSplitter packets_{65536};
    QByteArray challenge_, filter_, slow_;
    int stage_ = 0;
    bool flooding_ = false;
    qint64 sent_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Stand-in UT2003/UT2004 master server on 127.0.0.1"));
    p.addHelpOption();
    auto opt = [&](const char* name, const char* help, const char* value) {
        p.addOption({QString::fromLatin1(name), QString::fromLatin1(help), QString::fromLatin1(value)});
    };
    opt("port", "TCP port to listen on (default 0: the system picks one)", "port");
    opt("game", "ut2004 (default) or ut2003", "game");
    opt("cdkey", "the CD key the client must hash (XXXXX-XXXXX-XXXXX-XXXXX)", "key");
    opt("servers", "servers in the list (default 10)", "n");
    opt("list-port", "game port of the first listed server (default 7777)", "port");
    opt("list-step", "step between listed game ports (default 1)", "n");
    opt("gametypes", "game types of the servers, in turn (default xDeathMatch)", "a,b");
    opt("name", "server name prefix (default Stand-in)", "text");
    opt("fault",
        "refuse-key, no-challenge, close-early, long-string, huge-record, short-count, huge-count, flood, "
        "slow, "
        "bad-records",
        "fault");
    opt("flood-count", "records sent by --fault flood (default 10000000)", "n");
    opt("byte-delay-ms", "pause between bytes for --fault slow (default 1000)", "ms");
    opt("lifetime-seconds", "stop after this many seconds (default 60)", "s");
    p.process(app);

    Options o;
    o.game = p.value("game").toLatin1().toLower();
    if (o.game.isEmpty()) o.game = "ut2004";
    o.cdKey = p.value("cdkey").toLatin1().trimmed().toUpper();
    if (p.isSet("servers")) o.servers = p.value("servers").toInt();
    if (p.isSet("list-port")) o.listPort = p.value("list-port").toInt();
    if (p.isSet("list-step")) o.listStep = p.value("list-step").toInt();
    if (p.isSet("gametypes")) o.gameTypes = p.value("gametypes").toLatin1().split(',');
    if (p.isSet("name")) o.name = p.value("name").toLatin1();
    o.fault = p.value("fault");
    if (p.isSet("flood-count")) o.floodCount = p.value("flood-count").toLongLong();
    if (p.isSet("byte-delay-ms")) o.byteDelayMs = p.value("byte-delay-ms").toInt();
    if (p.isSet("lifetime-seconds")) o.lifetimeSeconds = p.value("lifetime-seconds").toDouble();

    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, quint16(p.value("port").toUInt()))) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%s\n", qPrintable(p.value("port")));
        return 1;
    }
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* s = server.nextPendingConnection()) new Session(s, o);
    });
    QTimer::singleShot(int(o.lifetimeSeconds * 1000), &app, &QCoreApplication::quit);
    std::printf("ready %u\n", unsigned(server.serverPort()));
    std::fflush(stdout);
    return app.exec();
}
