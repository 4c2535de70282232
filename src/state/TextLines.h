#pragma once
#include <QString>
#include <QStringList>
#include <optional>

// The program's own files ("vyrn.ini", "servers.ini", "buddies.ini") are text in the
// platform's code page (UTF-8 here), one value a line, each line ended by CR LF.

// The lines of the file, or nothing when it cannot be read.
std::optional<QStringList> readTextLines(const QString& path);
// Writes the lines whole through a temporary file; false when the old file stayed.
bool writeTextLines(const QString& path, const QStringList& lines);
