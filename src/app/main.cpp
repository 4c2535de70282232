#include <QApplication>
#include <QCoreApplication>
#include <cstdio>

#include "app/MainWindow.h"
#include "app/QueryCommand.h"
#include "master/MasterCommand.h"

namespace {
// Every form of the command line; the manual page (dist/vyrn.1) names the same options.
const char kHelp[] =
    "Usage: vyrn                  start the server browser\n"
    "       vyrn --query [--json] [--timeout MS] ADDRESS:PORT[:GAME]...\n"
    "       vyrn --query [--json] [--timeout MS] --file FILE\n"
    "       vyrn --master [--query [--timeout MS]] [--json] [--game ut] [HOST:PORT]...\n"
    "       vyrn --help | --version\n"
    "\n"
    "  --query        ask the servers given for their status, print one line each and exit\n"
    "  --file FILE    take the servers from FILE, one ADDRESS:PORT:GAME a line (servers.ini)\n"
    "  --master       list the servers of the UT master servers (default: those of masters.ini)\n"
    "  --game ut      the game whose list is asked for; only UT's is public\n"
    "  --json         print each result as one JSON object a line\n"
    "  --timeout MS   wait MS milliseconds for a server that does not answer (default 2000)\n"
    "  --help         show this help and exit\n"
    "  --version      show the version and exit\n"
    "\n"
    "GAME is UT, UT2 (UT2003) or UT3 (UT2004). Exit status: 0 when every server answered,\n"
    "1 when some did not, 2 for bad arguments.\n";
}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.contains(QStringLiteral("--help"))) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (arguments.contains(QStringLiteral("--version"))) {
        std::fputs("vyrn " VYRN_VERSION "\n", stdout);
        return 0;
    }
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
