#include "platform/WineRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <optional>

#include "platform/FileIO.h"

namespace {
constexpr qint64 kMaxHiveBytes = 256 * 1024 * 1024;

bool isOctal(QChar c) { return c >= '0' && c <= '7'; }

// Reads one escaped text of the hive format from position i up to the unescaped end
// character; i is left past that character. Nothing when the line ends first.
std::optional<QString> readEscaped(const QString& line, qsizetype& i, QChar end) {
    QString out;
    const qsizetype n = line.size();
    while (i < n) {
        const QChar c = line[i++];
        if (c == end) return out;
        if (c != '\\' || i >= n) {
            out += c;
            continue;
        }
        const QChar e = line[i++];
        if (e == 'x') {
            qsizetype j = i;
            while (j < n && j - i < 4 && isxdigit(line[j].toLatin1())) ++j;
            if (j == i) {
                out += e;
                continue;
            }
            out += QChar(char16_t(line.mid(i, j - i).toUInt(nullptr, 16)));
            i = j;
        } else if (isOctal(e)) {
            qsizetype j = i - 1;
            while (j < n && j - (i - 1) < 3 && isOctal(line[j])) ++j;
            out += QChar(char16_t(line.mid(i - 1, j - (i - 1)).toUInt(nullptr, 8)));
            i = j;
        } else {
            switch (e.unicode()) {
                case 'a': out += QChar(7); break;
                case 'b': out += QChar(8); break;
                case 't': out += QChar(9); break;
                case 'n': out += QChar(10); break;
                case 'v': out += QChar(11); break;
                case 'f': out += QChar(12); break;
                case 'r': out += QChar(13); break;
                case 'e': out += QChar(27); break;
                default: out += e; break;
            }
        }
    }
    return std::nullopt;
}

// The key name of a "[key] timestamp" line.
std::optional<QString> keyOfLine(const QString& line) {
    if (!line.startsWith('[')) return std::nullopt;
    qsizetype i = 1;
    return readEscaped(line, i, ']');
}

struct ValueLine {
    QString name;
    std::optional<QString> text;  // set only for a plain string value
};

std::optional<ValueLine> valueOfLine(const QString& line) {
    ValueLine v;
    qsizetype i = 0;
    if (line.startsWith('@')) {
        i = 1;
    } else if (line.startsWith('"')) {
        i = 1;
        const auto name = readEscaped(line, i, '"');
        if (!name) return std::nullopt;
        v.name = *name;
    } else {
        return std::nullopt;
    }
    if (i >= line.size() || line[i] != '=') return std::nullopt;
    ++i;
    if (i < line.size() && line[i] == '"') {
        ++i;
        v.text = readEscaped(line, i, '"');
    }
    return v;
}

QString normalisedKey(QString key) {
    key.replace('/', '\\');
    while (key.startsWith('\\')) key.remove(0, 1);
    while (key.endsWith('\\')) key.chop(1);
    return key;
}

std::optional<QString> findValue(const QList<QByteArray>& lines, const QString& key,
                                 const QString& valueName, bool& keyFound) {
    bool inKey = false;
    for (const QByteArray& raw : lines) {
        if (raw.isEmpty()) continue;
        const char first = raw[0];
        if (first != '[' && first != '"' && first != '@') continue;
        const QString line = QString::fromUtf8(raw);
        if (first == '[') {
            if (inKey) break;  // each key is written once
            const auto name = keyOfLine(line);
            inKey = name && normalisedKey(*name).compare(key, Qt::CaseInsensitive) == 0;
            keyFound = keyFound || inKey;
            continue;
        }
        if (!inKey) continue;
        const auto value = valueOfLine(line);
        if (!value || value->name.compare(valueName, Qt::CaseInsensitive) != 0) continue;
        if (!value->text) return QString();  // another type than a plain string
        const qsizetype nul = value->text->indexOf(QChar(0));
        return nul < 0 ? *value->text : value->text->left(nul);
    }
    return std::nullopt;
}
}  // namespace

QString winePrefix() {
    const QString named = QProcessEnvironment::systemEnvironment().value(QStringLiteral("WINEPREFIX"));
    if (!named.isEmpty()) return named;
    return QDir::home().filePath(QStringLiteral(".wine"));
}

QString winePrefixOf(const QString& programPath) {
    const QStringList parts = QDir::cleanPath(programPath).split('/');
    // The innermost prefix counts: a prefix may lie inside another one's drive.
    for (qsizetype i = parts.size() - 2; i > 0; --i) {
        if (parts[i] == QLatin1String("drive_c") || parts[i] == QLatin1String("dosdevices")) {
            const QString prefix = parts.mid(0, i).join('/');
            return prefix.isEmpty() ? QStringLiteral("/") : prefix;
        }
    }
    return QString();
}

QString readRegistryStringFromFile(const QString& hivePath, const QString& keyPath,
                                   const QString& valueName) {
    const auto bytes = readWholeFile(hivePath, kMaxHiveBytes);
    if (!bytes) return QString();
    const QList<QByteArray> lines = splitLines(*bytes);
    const QString key = normalisedKey(keyPath);
    bool keyFound = false;
    if (auto v = findValue(lines, key, valueName, keyFound)) return *v;
    static const QString software = QStringLiteral("Software\\");
    if (keyFound || !key.startsWith(software, Qt::CaseInsensitive)) return QString();
    const QString redirected = software + QStringLiteral("Wow6432Node\\") + key.mid(software.size());
    return findValue(lines, redirected, valueName, keyFound).value_or(QString());
}

QString readRegistryString(RegistryRoot root, const QString& keyPath, const QString& valueName) {
    switch (root) {
        case RegistryRoot::LocalMachine:
            return readRegistryStringFromFile(QDir(winePrefix()).filePath(QStringLiteral("system.reg")),
                                              keyPath, valueName);
    }
    return QString();
}

QString mapWindowsPathIntoPrefix(const QString& windowsPath, const QString& prefix) {
    const QString path = windowsPath.trimmed();
    if (path.size() < 2 || path[1] != ':' || !path[0].isLetter() || path[0].unicode() > 127)
        return QString();
    const QChar drive = path[0].toLower();
    QString base;
    if (drive == 'c') {
        base = QDir(prefix).filePath(QStringLiteral("drive_c"));
    } else {
        base = QDir(prefix).filePath(QStringLiteral("dosdevices/") + drive + ':');
        if (!QFileInfo::exists(base)) return QString();
    }
    QString rest = path.mid(2);
    rest.replace('\\', '/');
    const QStringList parts = rest.split('/', Qt::SkipEmptyParts);
    return parts.isEmpty() ? base : base + '/' + parts.join('/');
}
