#pragma once
#include <QString>
#include <QStringList>

// What the arguments after the program name ask for. The window takes no argument of
// its own (only Qt's, such as "-platform offscreen"), so anything else is a mistake and
// said so, rather than a window a script would wait on for ever.
enum class CommandChoice { Window, Query, Master, History, Help, Version, BadArgument };

struct CommandLineRead {
    CommandChoice choice = CommandChoice::Window;
    QString badArgument;  // for BadArgument
};
CommandLineRead readCommandLine(const QStringList& arguments);

// The usage of all the command lines, for "--help" and for a bad argument.
QString commandLineUsage();
// Says on stderr what is wrong with a command's arguments, then that command's usage; the
// exit code for bad arguments, 2.
int refuseArguments(const QString& why, const char* usage);
// "VYRN 3.0".
QString versionText();
