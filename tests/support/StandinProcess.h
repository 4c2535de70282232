#pragma once
#include <QProcess>
#include <QStringList>

// The stand-in game server run as a child process for one test; stopped when it goes.
class StandinProcess {
public:
    // Starts vyrn-standin with the arguments and waits for its "ready" line.
    explicit StandinProcess(const QStringList& arguments);
    ~StandinProcess();
    bool ready() const { return ready_; }

private:
    QProcess process_;
    bool ready_ = false;
};

// A base port for a test, spread by process id so parallel test programs rarely meet.
int testPortBase(int offset = 0);
