#pragma once
#include <QMap>
#include <QString>
#include <QStringList>

// Starts a program detached from VYRN, with its arguments as a list, the given working
// folder and VYRN's own environment with the given variables set on top; false when it
// could not be started. (How the game's window opens, maximised or minimised, is the
// game's own business on this desktop.)
QString startDetachedProcess(const QString& program, const QStringList& arguments,
                             const QString& workingFolder, const QMap<QString, QString>& environment = {});
