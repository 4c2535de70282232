#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Whole-file reads and writes: nothing stays open between calls.

// Refuses files larger than maxBytes, so a stray huge file cannot exhaust memory.
std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes = 64 * 1024 * 1024);

// Writes a temporary file beside the target and renames it into place; on any failure
// the old file is left whole and false is returned.
bool writeFileAtomically(const QString& path, const QByteArray& contents);

// Splits text into lines the way the games' files are read: a line ends at CR LF, LF
// or a lone CR. A last line without an end is kept; a file that ends with a line end
// has no empty line after it.
QList<QByteArray> splitLines(const QByteArray& text);

// Each line followed by CR LF.
QByteArray joinLinesCrLf(const QList<QByteArray>& lines);

bool fileExists(const QString& path);

// Joins a folder and a file name with the platform separator.
QString pathJoin(const QString& folder, const QString& name);
