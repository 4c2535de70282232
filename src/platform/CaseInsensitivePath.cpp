#include "platform/CaseInsensitivePath.h"

#include <QDir>
#include <QFileInfo>

std::optional<QString> resolvePathIgnoringCase(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    if (QFileInfo::exists(path)) return path;
    const QString clean = QDir::cleanPath(path);
    const bool absolute = clean.startsWith('/');
    const QStringList parts = clean.split('/', Qt::SkipEmptyParts);
    QString current = absolute ? QStringLiteral("/") : QStringLiteral(".");
    for (const QString& part : parts) {
        const QString exact = QDir(current).filePath(part);
        if (QFileInfo::exists(exact)) {
            current = exact;
            continue;
        }
        const QStringList entries =
            QDir(current).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        const auto match = std::find_if(entries.begin(), entries.end(), [&](const QString& e) {
            return e.compare(part, Qt::CaseInsensitive) == 0;
        });
        if (match == entries.end()) return std::nullopt;
        current = QDir(current).filePath(*match);
    }
    if (!absolute && current.startsWith(QLatin1String("./"))) current = current.mid(2);
    return current;
}
