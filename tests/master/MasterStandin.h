#pragma once
#include <QProcess>
#include <QStringList>

#include "support/StandinProcess.h"
#include "support/TestSupport.h"

// A stand-in master run as a child process for one test; stopped when it goes. It says
// "ready", or "ready PORT" when the system picked its port.
class MasterStandin {
public:
    MasterStandin(int port, const QStringList& arguments)
        : MasterStandin(VYRN_STANDIN_MASTER, arguments + QStringList{"--port", QString::number(port)}) {
        port_ = ready_ ? port : 0;
    }
    MasterStandin(const char* program, const QStringList& arguments) {
        process_.start(QString::fromLocal8Bit(program), arguments);
        if (!process_.waitForStarted(5000)) return;
        while (process_.state() == QProcess::Running && !process_.canReadLine())
            process_.waitForReadyRead(100);
        const QList<QByteArray> line = process_.readLine().trimmed().split(' ');
        ready_ = line[0] == "ready";
        port_ = line.value(1).toInt();
    }
    ~MasterStandin() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    bool ready() const { return ready_; }
    int port() const { return port_; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

private:
    QProcess process_;
    int port_ = 0;
    bool ready_ = false;
};
