#include "platform/ProcessStarter.h"

#include <QProcess>
#include <QProcessEnvironment>

QString startDetachedProcess(const QString& program, const QStringList& arguments,
                             const QString& workingFolder, const QMap<QString, QString>& environment) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (auto it = environment.cbegin(); it != environment.cend(); ++it) env.insert(it.key(), it.value());
        process.setProcessEnvironment(env);
    }
    if (process.startDetached()) return {};
    // Qt's words ("execve: Permission denied") name the failing call; the reason is what follows.
    const QString reason = process.errorString();
    const qsizetype colon = reason.indexOf(QLatin1String(": "));
    return colon < 0 ? reason : reason.mid(colon + 2);
}
