#include "state/TextLines.h"

#include "platform/FileIO.h"

std::optional<QStringList> readTextLines(const QString& path) {
    const auto bytes = readWholeFile(path);
    if (!bytes) return std::nullopt;
    QStringList lines;
    for (const QByteArray& line : splitLines(*bytes)) lines.append(QString::fromUtf8(line));
    return lines;
}

bool writeTextLines(const QString& path, const QStringList& lines) {
    QList<QByteArray> encoded;
    encoded.reserve(lines.size());
    for (const QString& line : lines) encoded.append(line.toUtf8());
    return writeFileAtomically(path, joinLinesCrLf(encoded));
}
