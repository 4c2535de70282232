#pragma once
#include <QProcess>
#include <QStringList>

#include "support/StandinProcess.h"
#include "support/TestSupport.h"

// The stand-in master run as a child process for one test; stopped when it goes.
class MasterStandin {
public:
    MasterStandin(int port, const QStringList& arguments) : port_(port) {
        process_.start(QStringLiteral(VYRN_STANDIN_MASTER),
                       arguments + QStringList{"--port", QString::number(port)});
        if (!process_.waitForStarted(5000)) return;
        while (process_.state() == QProcess::Running && !process_.canReadLine())
            process_.waitForReadyRead(100);
        ready_ = process_.readLine().trimmed() == "ready";
    }
    ~MasterStandin() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    bool ready() const { return ready_; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

private:
    QProcess process_;
    int port_;
    bool ready_ = false;
};

// The stand-in UT2003/UT2004 master, on a port the system picks, for one test.
class Ut2MasterStandin {
public:
    explicit Ut2MasterStandin(const QStringList& arguments) {
        process_.start(QStringLiteral(VYRN_STANDIN_UT2MASTER), arguments);
        if (!process_.waitForStarted(5000)) return;
        while (process_.state() == QProcess::Running && !process_.canReadLine())
            process_.waitForReadyRead(100);
        const QList<QByteArray> ready = process_.readLine().trimmed().split(' ');
        if (ready.size() == 2 && ready[0] == "ready") port_ = ready[1].toInt();
    }
    ~Ut2MasterStandin() {
        process_.kill();
        process_.waitForFinished(3000);
    }
    bool ready() const { return port_ > 0; }
    int port() const { return port_; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

private:
    QProcess process_;
    int port_ = 0;
};
