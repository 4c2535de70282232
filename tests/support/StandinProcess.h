#pragma once
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

// A stand-in run as a child process for one test, on a port the system picks; stopped
// when it goes.
class StandinProcess {
public:
    // Starts the stand-in (the game server unless another is named) with the arguments,
    // "--port 0" unless they name a port, and waits for its "ready PORT" line.
    explicit StandinProcess(const QStringList& arguments,
                            const QString& program = QStringLiteral(VYRN_STANDIN_SERVER));
    ~StandinProcess();
    // Whether it started; if not, the failure says why in the stand-in's own words.
    ::testing::AssertionResult ready() const;
    // The first query port of a game server, the TCP port of a master.
    int port() const { return port_; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

private:
    QProcess process_;
    int port_ = 0;
    QString failure_;
};

// The stand-in GameSpy master.
struct MasterStandin : StandinProcess {
    explicit MasterStandin(const QStringList& arguments)
        : StandinProcess(arguments, QStringLiteral(VYRN_STANDIN_MASTER)) {}
};

// The stand-in UT2003/UT2004 master.
struct Ut2MasterStandin : StandinProcess {
    explicit Ut2MasterStandin(const QStringList& arguments)
        : StandinProcess(arguments, QStringLiteral(VYRN_STANDIN_UT2MASTER)) {}
};

// UDP ports in a row on 127.0.0.1, picked by the system and held open unanswered while
// this lives: servers that never answer, and that no other test's stand-in can take.
class SilentPorts {
public:
    explicit SilentPorts(int count = 1);
    ~SilentPorts();
    SilentPorts(const SilentPorts&) = delete;
    SilentPorts& operator=(const SilentPorts&) = delete;
    int port(int index = 0) const { return first_ + index; }

private:
    std::vector<int> sockets_;
    int first_ = 0;
};
