#pragma once
#include <QList>
#include <QString>
#include <optional>

// A master server: host name or address and TCP port.
struct MasterAddress {
    QString host;
    quint16 port = 0;
    QString text() const { return host + QLatin1Char(':') + QString::number(port); }
};

// The masters' own port, used when a line gives none.
constexpr quint16 kDefaultMasterPort = 28900;

// "masters.ini" in the program folder: one HOST:PORT a line, tried in order. Lines
// starting with ";" or "#" are notes; blanks around a line are ignored.
inline const QString kMastersFileName = QStringLiteral("masters.ini");

// The community masters that serve the UT list today.
QList<MasterAddress> defaultMasters();

// "host:port" or "host" (the default port); nothing for text no master can be.
std::optional<MasterAddress> parseMasterAddress(const QString& text);

// The masters of "masters.ini"; the defaults when the file is missing or names none.
QList<MasterAddress> loadMasters();

// Writes the defaults to "masters.ini" when there is no such file, so the user finds one
// to edit. False when it was missing and could not be written.
bool writeDefaultMastersIfMissing();
