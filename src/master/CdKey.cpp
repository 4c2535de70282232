#include "master/CdKey.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "platform/CaseInsensitivePath.h"
#include "platform/FileIO.h"
#include "platform/WineRegistry.h"
#include "state/ProgramFolder.h"

namespace {
constexpr qsizetype kKeyLength = 23;  // XXXXX-XXXXX-XXXXX-XXXXX
constexpr qint64 kMaxKeyFile = 4096;

QByteArray md5Hex(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

QString homePath(const QString& path) {
    return path.startsWith(QLatin1String("~/")) ? QDir::home().filePath(path.mid(2)) : path;
}

// The "cdkey" file of a folder, found in any letter case.
std::optional<CdKey> keyInFolder(const QString& folder, QStringList& looked) {
    if (folder.isEmpty()) return std::nullopt;
    const QString path = QDir(folder).filePath(QStringLiteral("cdkey"));
    if (looked.contains(path)) return std::nullopt;
    looked << path;
    const auto found = resolvePathIgnoringCase(path);
    return found ? readCdKeyFile(*found) : std::nullopt;
}

std::optional<CdKey> keyInRegistry(const QString& prefix, const QString& registryKey, QStringList& looked) {
    const QString hive = QDir(prefix).filePath(QStringLiteral("system.reg"));
    const QString place = QStringLiteral("the Wine registry ") + hive;
    if (prefix.isEmpty() || looked.contains(place)) return std::nullopt;
    looked << place;
    static const QString software = QStringLiteral("Software\\");
    const QString wow = software + QStringLiteral("Wow6432Node\\") + registryKey.mid(software.size());
    for (const QString& key : {registryKey, wow})
        if (auto k = CdKey::parse(readRegistryStringFromFile(hive, key, QStringLiteral("CDKey")).toLatin1()))
            return k;
    return std::nullopt;
}
}  // namespace

std::optional<CdKey> CdKey::parse(QByteArrayView text) {
    const QByteArray key = text.toByteArray().trimmed().toUpper();
    if (key.size() != kKeyLength) return std::nullopt;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char c = key[i];
        const bool dash = i % 6 == 5;
        if (dash ? c != '-' : !((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return std::nullopt;
    }
    return CdKey(key);
}

QByteArray CdKey::keyHash() const { return md5Hex(key_); }

QByteArray CdKey::challengeHash(QByteArrayView challenge) const {
    return md5Hex(key_ + challenge.toByteArray());
}

CdKeySearch findCdKey(Game game, const AppConfig& config) {
    CdKeySearch s;
    const GameInfo& info = gameInfo(game);
    const QString configured = gamePathOf(config, game).trimmed();
    auto found = [&](std::optional<CdKey> k) {
        if (k && !s.key) s.key = k;
        return s.key.has_value();
    };
    if (isWindowsExecutable(configured)) {
        const QString onDisk = existingExecutable(configured).value_or(configured);
        const QString prefix = winePrefixOf(onDisk);
        if (found(keyInRegistry(prefix.isEmpty() ? winePrefix() : prefix, info.registryKey, s.looked)))
            return s;
    }
    if (found(keyInRegistry(winePrefix(), info.registryKey, s.looked))) return s;
    if (!configured.isEmpty() && !isWindowsExecutable(configured) &&
        found(keyInFolder(gameFolderOf(configured), s.looked)))
        return s;
    for (const QString& install : info.nativeInstallFolders)
        if (found(keyInFolder(homePath(install) + QStringLiteral("/System"), s.looked))) return s;
    for (const QString& folder : info.preferenceFolders)
        if (found(keyInFolder(QDir::home().filePath(folder), s.looked))) return s;
    const QString remembered = rememberedCdKeyFile(game);
    s.looked << remembered;
    found(readCdKeyFile(remembered));
    return s;
}

QString rememberedCdKeyFile(Game game) {
    return programFile(QStringLiteral("cdkey-") + gameInfo(game).name.toLower());
}

QString rememberCdKey(Game game, const CdKey& key) {
    QSaveFile file(rememberedCdKeyFile(game));
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    // Made private before the key is in it.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return file.errorString();
    }
    if (file.write(key.key_ + "\r\n") != key.key_.size() + 2 || !file.commit()) return file.errorString();
    return {};
}

std::optional<CdKey> readCdKeyFile(const QString& path) {
    const auto bytes = readWholeFile(path, kMaxKeyFile);
    if (!bytes) return std::nullopt;
    // The games' own file may end in a line end or hold nothing else; take the first line.
    const QList<QByteArray> lines = splitLines(*bytes);
    return lines.isEmpty() ? std::nullopt : CdKey::parse(lines.first());
}
