#pragma once
#include <QString>
#include <QStringList>

// VYRN's own files ("vyrn.ini", "servers.ini", "buddies.ini"): one value a line, read
// and written whole, each in the character set and line end it was found in (see
// TextFileCodec); new files are UTF-8 with CR LF.

struct LinesRead {
    enum Status { Read, Missing, TooBig, Unreadable };
    Status status = Missing;
    QStringList lines;
    QString path;
    QString reason;  // the system's words, for Unreadable
    // A file that is there but could not be read: the user must be told, and nothing
    // may be written over it.
    bool failed() const { return status == TooBig || status == Unreadable; }
};
LinesRead readTextLines(const QString& path);

// What became of a write. Converts to true when the file was written.
struct SaveResult {
    QString path;
    QString reason;  // empty when written
    bool saved() const { return reason.isEmpty(); }
    explicit operator bool() const { return saved(); }
};
// Writes the lines whole through a temporary file, in the format of the file it
// replaces. A file that cannot be read (too big, unreadable) is never written over.
SaveResult writeTextLines(const QString& path, const QStringList& lines);

// The messages the windows show for these outcomes: the file, its folder and why.
QString readFailureText(const LinesRead& read);
QString saveFailureText(const SaveResult& result);
