#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Whole-file reads and writes: nothing stays open between calls.

// The most any text file is read whole, so a stray huge file cannot exhaust memory.
inline constexpr qint64 kMaxReadBytes = 64 * 1024 * 1024;

// What reading a whole file found; reason holds the system's words when it failed.
enum class ReadOutcome { Read, Missing, TooBig, Failed };
struct FileRead {
    ReadOutcome outcome = ReadOutcome::Missing;
    QByteArray bytes;
    QString reason;
};
FileRead readFile(const QString& path, qint64 maxBytes = kMaxReadBytes);

// The bytes, or nothing when the file is missing, unreadable or larger than maxBytes.
std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes = kMaxReadBytes);

// Writes a temporary file beside the target and renames it into place; on any failure
// the old file is left whole. Empty when written, else the system's reason.
QString writeFileAtomicallyWithReason(const QString& path, const QByteArray& contents);
inline bool writeFileAtomically(const QString& path, const QByteArray& contents) {
    return writeFileAtomicallyWithReason(path, contents).isEmpty();
}

// Splits text into lines the way the games' files are read: a line ends at CR LF, LF
// or a lone CR. A last line without an end is kept; a file that ends with a line end
// has no empty line after it.
QList<QByteArray> splitLines(const QByteArray& text);

// Each line followed by CR LF.
QByteArray joinLinesCrLf(const QList<QByteArray>& lines);

bool fileExists(const QString& path);

// Whether a new file can be made in the folder, found by making one: root ignores
// permissions, but not a read-only mount.
bool canCreateFilesIn(const QString& folder);

// Joins a folder and a file name with the platform separator.
QString pathJoin(const QString& folder, const QString& name);
