#include "support/StandinProcess.h"

#include <QCoreApplication>

StandinProcess::StandinProcess(const QStringList& arguments) {
    QStringList args = arguments;
    if (!args.contains(QStringLiteral("--lifetime-seconds")))
        args << QStringLiteral("--lifetime-seconds") << QStringLiteral("60");
    process_.start(QStringLiteral(VYRN_STANDIN_SERVER), args);
    if (!process_.waitForStarted(5000)) return;
    while (process_.state() == QProcess::Running && !process_.canReadLine())
        process_.waitForReadyRead(100);
    ready_ = process_.readLine().trimmed() == "ready";
}

StandinProcess::~StandinProcess() {
    process_.kill();
    process_.waitForFinished(3000);
}

int testPortBase(int offset) {
    return 20000 + int(QCoreApplication::applicationPid() % 2000) * 20 + offset;
}
