#pragma once
#include <QString>
#include <QStringList>

// Starts a program detached from VYRN, with its arguments as a list and the given
// working folder; false when it could not be started. (How the game's window opens,
// maximised or minimised, is the game's own business on this desktop.)
bool startDetachedProcess(const QString& program, const QStringList& arguments,
                          const QString& workingFolder);
