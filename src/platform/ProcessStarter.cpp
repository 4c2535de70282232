#include "platform/ProcessStarter.h"

#include <QProcess>
#include <QProcessEnvironment>

bool startDetachedProcess(const QString& program, const QStringList& arguments,
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
    return process.startDetached();
}
