#include "master/MasterServers.h"

#include "platform/FileIO.h"
#include "platform/HostAddress.h"
#include "state/ProgramFolder.h"
#include "state/TextLines.h"

QList<MasterAddress> defaultMasters() {
    return {{QStringLiteral("master.333networks.com"), kDefaultMasterPort},
            {QStringLiteral("master.errorist.eu"), kDefaultMasterPort},
            {QStringLiteral("master.newbiesplayground.net"), kDefaultMasterPort},
            {QStringLiteral("master.oldunreal.com"), kDefaultMasterPort}};
}

std::optional<MasterAddress> parseMasterAddress(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 253 + 6) return std::nullopt;
    const qsizetype colon = t.lastIndexOf(QLatin1Char(':'));
    const QString host = colon < 0 ? t : t.first(colon);
    quint16 port = kDefaultMasterPort;
    if (colon >= 0) {
        bool ok = false;
        const uint p = t.sliced(colon + 1).toUInt(&ok);
        if (!ok || p < 1 || p > 65535) return std::nullopt;
        port = quint16(p);
    }
    if (!parseHostAddress(host).valid()) return std::nullopt;
    return MasterAddress{host, port};
}

QList<MasterAddress> loadMasters() {
    QList<MasterAddress> masters;
    const LinesRead read = readTextLines(programFile(kMastersFileName));
    for (const QString& line : read.lines) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'))) continue;
        if (const auto m = parseMasterAddress(t)) masters << *m;
    }
    return masters.isEmpty() ? defaultMasters() : masters;
}

bool writeDefaultMastersIfMissing() {
    const QString path = programFile(kMastersFileName);
    if (fileExists(path)) return true;
    QStringList lines{QStringLiteral("; Master servers for \"Find Servers\", tried in order: one HOST:PORT a line.")};
    for (const MasterAddress& m : defaultMasters()) lines << m.text();
    return writeTextLines(path, lines).saved();
}
