// vyrn-standin-master: a stand-in GameSpy master server on 127.0.0.1. It sends the
// "\basic\\secure\CHALLENGE" greeting, checks the client's validate answer against the
// game's key, and answers "\list\\gamename\ut\final\" with "\ip\127.0.0.1:PORT" entries
// and "\final\". Faults on request: refuse, close early, garbage, no "\final\", one byte
// a second, a flood of entries, entries with unusable ports.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>

#include "master/GameSpyValidate.h"

namespace {

struct Options {
    quint16 port = 28900;
    int servers = 10;
    int listPort = 7778;
    int listStep = 1;
    QList<int> listPorts;     // listed after those, in this order
    QString fault;            // empty: behave
    qint64 floodCount = 10'000'000;
    int byteDelayMs = 1000;
    bool lenient = false;     // serve clients whose answer is wrong (qstat sends a fixed one)
    QByteArray challenge;     // random when empty
    double lifetimeSeconds = 60;
};

QByteArray randomChallenge() {
    QByteArray c;
    for (int i = 0; i < 6; ++i) c += char('A' + QRandomGenerator::global()->bounded(26));
    return c;
}

QByteArray entry(int port) { return "\\ip\\127.0.0.1:" + QByteArray::number(port); }

// The value of a key in "\k\v\k\v" text; empty when missing.
QByteArray valueOf(const QByteArray& text, const QByteArray& key) {
    const QList<QByteArray> f = text.split('\\');
    for (qsizetype i = 1; i + 1 < f.size(); i += 2)
        if (f[i].compare(key, Qt::CaseInsensitive) == 0) return f[i + 1];
    return {};
}

class Session : public QObject {
public:
    Session(QTcpSocket* socket, const Options& o) : QObject(socket), s_(socket), o_(o) {
        challenge_ = o.challenge.isEmpty() ? randomChallenge() : o.challenge;
        connect(s_, &QTcpSocket::readyRead, this, [this] { read(); });
        connect(s_, &QTcpSocket::disconnected, s_, &QObject::deleteLater);
        connect(s_, &QTcpSocket::bytesWritten, this, [this] { pump(); });
        s_->write("\\basic\\\\secure\\" + challenge_);
    }

private:
    void read() {
        received_ += s_->read(4096);
        if (received_.size() > 4096) return s_->abort();
        // The validate answer and the list request, in one or two writes.
        const qsizetype listAt = received_.indexOf("\\list\\");
        if (listAt < 0 || received_.count("\\final\\") < 2 || answered_) return;
        answered_ = true;
        const QByteArray answer = received_.first(listAt);
        const QByteArray game = valueOf(answer, "gamename");
        const QByteArray expected = gameSpyValidate(challenge_, gameSpyKey(game));
        if (!o_.lenient && (expected.isEmpty() || valueOf(answer, "validate") != expected)) {
            std::fprintf(stderr, "validation failed for gamename %s\n", game.constData());
            return s_->disconnectFromHost();
        }
        serve(valueOf(received_.sliced(listAt), "gamename"));
    }

    void serve(const QByteArray& listGame) {
        QByteArray list;
        const bool ut = listGame.compare("ut", Qt::CaseInsensitive) == 0;
        for (int i = 0; ut && i < o_.servers; ++i) list += entry(o_.listPort + i * o_.listStep);
        for (int port : o_.listPorts) list += ut ? entry(port) : QByteArray();
        const QString& f = o_.fault;
        if (f == QLatin1String("bad-ports"))
            list = entry(0) + "\\ip\\127.0.0.1:99999\\ip\\127.0.0:7778\\ip\\224.0.0.1:7778" + list;
        if (f == QLatin1String("close-early")) {
            s_->write(list.first(list.size() / 2));
            return s_->disconnectFromHost();
        }
        if (f == QLatin1String("garbage")) {
            QByteArray junk(4096, '\0');
            for (char& c : junk) c = char(QRandomGenerator::global()->bounded(256));
            s_->write(junk);
            return s_->disconnectFromHost();
        }
        if (f == QLatin1String("flood")) {
            flooding_ = true;
            return pump();
        }
        if (f != QLatin1String("no-final")) list += "\\final\\";
        if (f == QLatin1String("slow")) {
            slow_ = list;
            auto* t = new QTimer(this);
            connect(t, &QTimer::timeout, this, [this, t] {
                if (slow_.isEmpty()) return t->stop();
                s_->write(slow_.first(1));
                slow_.remove(0, 1);
            });
            t->start(o_.byteDelayMs);
            return;
        }
        s_->write(list);
        // "no-final" keeps the connection open, as a master that hangs would.
        if (f != QLatin1String("no-final")) s_->disconnectFromHost();
    }

    // Writes the flood in steps as the socket drains, so the stand-in stays small. Every
    // address is on loopback: a client that queries them sends nothing off this machine.
    void pump() {
        if (!flooding_) return;
        while (s_->bytesToWrite() < 256 * 1024 && sent_ < o_.floodCount) {
            QByteArray chunk;
            for (int i = 0; i < 4096 && sent_ < o_.floodCount; ++i, ++sent_)
                chunk += "\\ip\\127." + QByteArray::number((sent_ >> 16) & 255) + '.' +
                         QByteArray::number((sent_ >> 8) & 255) + '.' + QByteArray::number(sent_ & 255) +
                         ":7778";
            s_->write(chunk);
        }
        if (sent_ >= o_.floodCount) {
            flooding_ = false;
            s_->write("\\final\\");
            s_->disconnectFromHost();
        }
    }

    QTcpSocket* s_;
    const Options& o_;
    QByteArray challenge_, received_, slow_;
    bool answered_ = false, flooding_ = false;
    qint64 sent_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Stand-in GameSpy master server on 127.0.0.1"));
    p.addHelpOption();
    auto opt = [&](const char* name, const char* help, const char* value) {
        p.addOption({QString::fromLatin1(name), QString::fromLatin1(help), QString::fromLatin1(value)});
    };
    opt("port", "TCP port to listen on (default 28900; 0: one the system picks)", "port");
    opt("servers", "servers in the list (default 10)", "n");
    opt("list-port", "query port of the first listed server (default 7778)", "port");
    opt("list-step", "step between listed ports (default 1)", "n");
    opt("list-ports", "comma-separated query ports listed after those", "ports");
    opt("fault", "refuse, close-early, garbage, no-final, slow, flood, bad-ports", "fault");
    opt("flood-count", "entries sent by --fault flood (default 10000000)", "n");
    opt("byte-delay-ms", "pause between bytes for --fault slow (default 1000)", "ms");
    opt("challenge", "fixed challenge instead of a random one", "text");
    opt("lifetime-seconds", "stop after this many seconds (default 60)", "s");
    p.addOption({QStringLiteral("lenient"), QStringLiteral("serve clients whose validate answer is wrong")});
    p.process(app);

    Options o;
    if (p.isSet("port")) o.port = quint16(p.value("port").toUInt());
    if (p.isSet("servers")) o.servers = p.value("servers").toInt();
    if (p.isSet("list-port")) o.listPort = p.value("list-port").toInt();
    if (p.isSet("list-step")) o.listStep = p.value("list-step").toInt();
    for (const QString& port : p.value("list-ports").split(QLatin1Char(','), Qt::SkipEmptyParts))
        o.listPorts << port.toInt();
    o.fault = p.value("fault");
    if (p.isSet("flood-count")) o.floodCount = p.value("flood-count").toLongLong();
    if (p.isSet("byte-delay-ms")) o.byteDelayMs = p.value("byte-delay-ms").toInt();
    o.challenge = p.value("challenge").toLatin1();
    if (p.isSet("lifetime-seconds")) o.lifetimeSeconds = p.value("lifetime-seconds").toDouble();
    o.lenient = p.isSet("lenient");

    QTcpServer server;
    // "refuse" holds the port without listening, so a connection is refused as by a master
    // that is down. Port 0: the system picks one.
    QTcpSocket held;
    const bool bound = o.fault == QLatin1String("refuse") ? held.bind(QHostAddress::LocalHost, o.port)
                                                          : server.listen(QHostAddress::LocalHost, o.port);
    if (!bound) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1:%u\n", unsigned(o.port));
        return 1;
    }
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* s = server.nextPendingConnection()) new Session(s, o);
    });
    QTimer::singleShot(int(o.lifetimeSeconds * 1000), &app, &QCoreApplication::quit);
    std::printf("ready %u\n", unsigned(server.isListening() ? server.serverPort() : held.localPort()));
    std::fflush(stdout);
    return app.exec();
}
