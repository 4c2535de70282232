#pragma once
#include <QStringList>

// `vyrn --master [--json] [--game ut] [HOST:PORT]...`: prints the servers a master lists,
// one "ADDRESS:PORT" a line (with --json one {"address", "queryPort", "game"} object a
// line), and reports each master that failed on the error output. Without HOST:PORT the
// masters of "masters.ini" are asked in order. With --query [--timeout MS] every listed
// server is queried and printed as `vyrn --query` prints it. Exit code 0 when a master
// sent its list whole (and, with --query, every server answered), 1 otherwise, 2 for bad
// arguments. Needs no display.

// Whether the command line asks for the master list.
bool isMasterCommand(int argc, char** argv);

// Runs the command under the QCoreApplication already made; returns the exit code.
int runMasterCommand(const QStringList& arguments);
