#include "platform/FileIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Never empty, so a failure can never read as success. Qt leaves some failures
// without words; errno, taken right after the failing call, still has them.
QString reasonOf(const QFileDevice& file, int error) {
    const QString reason = file.errorString();
    if (error != 0 && (reason.isEmpty() || reason == QLatin1String("Unknown error"))) return systemReason(error);
    return reason.isEmpty() ? QStringLiteral("unknown error") : reason;
}

// Why a file cannot be put at path, in the system's words ("Read-only file system",
// "Permission denied", "Not a directory"): Qt's own message only says it failed.
QString whyNotWritable(const QString& path, const QFileDevice& file, int error) {
    const QFileInfo info(path);
    const QByteArray probe = QFile::encodeName(info.exists() ? path : info.absolutePath());
    if (::access(probe.constData(), W_OK) != 0) return systemReason(errno);
    return reasonOf(file, error);
}
}  // namespace

FileRead readFile(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    if (!info.exists()) return {};
    if (info.isDir()) return {ReadOutcome::Failed, {}, QStringLiteral("it is a folder")};
    if (info.size() > maxBytes) return {ReadOutcome::TooBig, {}, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {ReadOutcome::Failed, {}, reasonOf(file, errno)};
    // Read in pieces: a file that grows while it is read still stops at the bound.
    QByteArray data;
    data.reserve(info.size());
    while (!file.atEnd()) {
        const QByteArray piece = file.read(64 * 1024);
        if (piece.isEmpty()) {
            if (file.error() != QFileDevice::NoError) return {ReadOutcome::Failed, {}, reasonOf(file, errno)};
            break;
        }
        data += piece;
        if (data.size() > maxBytes) return {ReadOutcome::TooBig, {}, {}};
    }
    return {ReadOutcome::Read, data, {}};
}

std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes) {
    FileRead read = readFile(path, maxBytes);
    if (read.outcome != ReadOutcome::Read) return std::nullopt;
    return std::move(read.bytes);
}

QString writeFileAtomicallyWithReason(const QString& path, const QByteArray& contents) {
    QSaveFile file(path);
    // Unbuffered, so a short write (a full disk) shows in write()'s result rather
    // than being lost in a final flush.
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return whyNotWritable(path, file, errno);
    if (file.write(contents) != contents.size()) {
        const QString reason = reasonOf(file, errno);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return reasonOf(file, errno);
    return {};
}

QList<QByteArray> splitLines(const QByteArray& text) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

QByteArray joinLinesCrLf(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const QByteArray& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

bool fileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

bool canCreateFilesIn(const QString& folder) {
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".vyrn-probe-XXXXXX")));
    return probe.open();
}

QString pathJoin(const QString& folder, const QString& name) {
    if (folder.isEmpty()) return name;
    if (folder.endsWith(QDir::separator()) || folder.endsWith('/')) return folder + name;
    return folder + QDir::separator() + name;
}
