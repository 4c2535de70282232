#pragma once
#include <QString>

// The folder of the executable, where "vyrn.ini", "servers.ini", "buddies.ini" and the
// viewer's temporary files live. Tests point it at a temporary folder.
QString programFolder();
void setProgramFolder(const QString& folder);
// programFolder() + separator + name.
QString programFile(const QString& name);

inline const QString kConfigFileName = QStringLiteral("vyrn.ini");
inline const QString kOldConfigFileName = QStringLiteral("old-vyrn.ini");
inline const QString kServersFileName = QStringLiteral("servers.ini");
inline const QString kBuddiesFileName = QStringLiteral("buddies.ini");
