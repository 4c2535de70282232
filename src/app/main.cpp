#include <QApplication>
#include <QCoreApplication>
#include <cstdio>

#include "app/CommandLine.h"
#include "app/HistoryCommand.h"
#include "app/MainWindow.h"
#include "app/QueryCommand.h"
#include "master/MasterCommand.h"

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    // Everything but the window needs no display, so it is decided before any window exists.
    const CommandLineRead read = readCommandLine(arguments);
    switch (read.choice) {
        case CommandChoice::Help: std::fputs(commandLineUsage().toLocal8Bit().constData(), stdout); return 0;
        case CommandChoice::Version: std::printf("%s\n", versionText().toLocal8Bit().constData()); return 0;
        case CommandChoice::BadArgument:
            std::fprintf(stderr, "vyrn: unknown argument: %s\n%s", read.badArgument.toLocal8Bit().constData(),
                         commandLineUsage().toLocal8Bit().constData());
            return 2;
        case CommandChoice::Master: {
            QCoreApplication app(argc, argv);
            return runMasterCommand(QCoreApplication::arguments());
        }
        case CommandChoice::Query: {
            QCoreApplication app(argc, argv);
            return runQueryCommand(arguments);
        }
        case CommandChoice::History: {
            QCoreApplication app(argc, argv);
            return runHistoryCommand(arguments);
        }
        case CommandChoice::Window: break;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VYRN"));
    MainWindow window;
    if (!window.start()) return 0;
    window.show();
    return app.exec();
}
