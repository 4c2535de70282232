#include "state/TextLines.h"

#include <QDir>
#include <QFileInfo>

#include "platform/FileIO.h"
#include "platform/TextFileCodec.h"

namespace {
const QString kTooBigReason = QStringLiteral("it is larger than %1 MiB").arg(kMaxReadBytes / (1024 * 1024));

QString nameOf(const QString& path) { return QFileInfo(path).fileName(); }
QString folderOf(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absolutePath()); }

struct Read {
    LinesRead lines;
    TextFormat format;
};

Read readWithFormat(const QString& path) {
    Read out;
    out.lines.path = path;
    const FileRead file = readFile(path);
    switch (file.outcome) {
        case ReadOutcome::Missing: return out;
        case ReadOutcome::TooBig:
            out.lines.status = LinesRead::TooBig;
            out.lines.reason = kTooBigReason;
            return out;
        case ReadOutcome::Failed:
            out.lines.status = LinesRead::Unreadable;
            out.lines.reason = file.reason;
            return out;
        case ReadOutcome::Read: break;
    }
    DecodedLines decoded = decodeTextLines(file.bytes);
    out.lines.status = LinesRead::Read;
    out.lines.lines = std::move(decoded.lines);
    out.format = decoded.format;
    return out;
}
}  // namespace

LinesRead readTextLines(const QString& path) { return readWithFormat(path).lines; }

SaveResult writeTextLines(const QString& path, const QStringList& lines) {
    const Read old = readWithFormat(path);
    if (old.lines.failed())
        return {path, old.lines.reason + QStringLiteral(", and VYRN never writes over a file it could not read")};
    // The same lines again: the file is left alone, its own line ends and time included.
    if (old.lines.status == LinesRead::Read && lines == old.lines.lines) return {path, {}};
    const QByteArray bytes = encodeTextLines(lines, old.format);
    return {path, writeFileAtomicallyWithReason(path, bytes)};
}

QString readFailureText(const LinesRead& read) {
    const QString advice = read.status == LinesRead::TooBig
                               ? QStringLiteral(" Move it away or make it smaller to start afresh.")
                               : QString();
    return QStringLiteral("VYRN could not read %1 in %2: %3. VYRN will not write over it.%4")
        .arg(nameOf(read.path), folderOf(read.path), read.reason, advice);
}

QString saveFailureText(const SaveResult& result) {
    return QStringLiteral("VYRN could not save %1 in %2: %3. The file there is unchanged.")
        .arg(nameOf(result.path), folderOf(result.path), result.reason);
}
