#include <QApplication>
#include <QCoreApplication>

#include "app/MainWindow.h"
#include "app/QueryCommand.h"
#include "master/MasterCommand.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    // The command lines need no display, so they decide before any window exists;
    // `--master --query` is the master's.
    if (isMasterCommand(argc, argv)) {
        QCoreApplication app(argc, argv);
        return runMasterCommand(QCoreApplication::arguments());
    }
    if (isQueryCommand(arguments)) {
        QCoreApplication app(argc, argv);
        return runQueryCommand(arguments);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VYRN"));
    MainWindow window;
    if (!window.Form_Load()) return 0;
    window.show();
    return app.exec();
}
