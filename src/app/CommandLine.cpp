#include "app/CommandLine.h"

#include <cstdio>

#include "query/QueryOutput.h"

namespace {
// Qt's own options, which QApplication takes out of the arguments.
bool isQtOption(const QString& a, bool& takesValue) {
    static const QStringList withValue{"-platform",
                                       "-platformpluginpath",
                                       "-platformtheme",
                                       "-plugin",
                                       "-qwindowgeometry",
                                       "-qwindowicon",
                                       "-qwindowtitle",
                                       "-display",
                                       "-geometry",
                                       "-style",
                                       "-stylesheet",
                                       "-session",
                                       "-name",
                                       "-title"};
    static const QStringList flags{"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};
    takesValue = withValue.contains(a);
    return takesValue || flags.contains(a);
}
}  // namespace

CommandLineRead readCommandLine(const QStringList& arguments) {
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h")))
        return {CommandChoice::Help, {}};
    if (arguments.contains(QStringLiteral("--version"))) return {CommandChoice::Version, {}};
    // The commands read their own arguments and say what is wrong with them.
    if (arguments.contains(QStringLiteral("--master"))) return {CommandChoice::Master, {}};
    if (arguments.contains(QStringLiteral("--query"))) return {CommandChoice::Query, {}};
    if (arguments.contains(QStringLiteral("--history"))) return {CommandChoice::History, {}};
    for (int i = 0; i < arguments.size(); ++i) {
        bool takesValue = false;
        if (!isQtOption(arguments[i], takesValue)) return {CommandChoice::BadArgument, arguments[i]};
        if (takesValue) ++i;
    }
    return {CommandChoice::Window, {}};
}

QString commandLineUsage() {
    // Every form of the command line; the manual page (dist/vyrn.1) and the bash completion
    // name the same options, and the package test holds them to it.
    return QStringLiteral(
        "usage: vyrn                     the window\n"
        "       vyrn --query [--json] [--timeout MS] [--record] ADDRESS:PORT[:GAME]...\n"
        "       vyrn --query [--json] [--timeout MS] [--record] --file servers.ini\n"
        "       vyrn --master [--json] [--game ut|ut2003|ut2004] [--cdkey FILE] [HOST:PORT]...\n"
        "       vyrn --master --query [--json] [--timeout MS] [--game GAME] [HOST:PORT]...\n"
        "       vyrn --history [--json] [--days N] ADDRESS:PORT[:GAME]\n"
        "       vyrn --help | --version\n"
        "\n"
        "  --query        ask the servers given for their status, print one line each and exit\n"
        "  --file FILE    take the servers from FILE, one ADDRESS:PORT:GAME a line (servers.ini)\n"
        "  --master       list the servers of the master servers (default: those of masters.ini)\n"
        "  --game GAME    the game whose list is asked for: ut, ut2003 or ut2004\n"
        "  --cdkey FILE   the UT2003/UT2004 CD key, from FILE (else from the game's install)\n"
        "  --record       add the replies to VYRN's history (history.sqlite in its folder)\n"
        "  --history      print what the history holds of the server: every sample kept, and\n"
        "                 for older times each hour's most players, maximum and median ping\n"
        "  --days N       the history of the last N days, from 1 to 366 (default 1)\n"
        "  --json         print each result as one JSON object a line\n"
        "  --timeout MS   wait MS milliseconds for a server that does not answer\n"
        "  --help         show this help and exit\n"
        "  --version      show the version and exit\n"
        "\n"
        "GAME is UT, UT2 (UT2003) or UT3 (UT2004); UT when left out. MS is how long a server\n"
        "is waited for, from 1 to 600000 (default 2000). The exit code is 0 when every server\n"
        "answered, 1 when some did not, 2 for bad arguments; --history exits 1 when there is\n"
        "no history of the server.\n");
}

int refuseArguments(const QString& why, const char* usage) {
    std::fprintf(stderr, "vyrn: %s\n%s", printable(why).toLocal8Bit().constData(), usage);
    return 2;
}

QString versionText() { return QStringLiteral("VYRN 3.0"); }
