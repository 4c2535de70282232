#pragma once
#include <QString>

// Where VYRN keeps its files ("vyrn.ini", "servers.ini", "buddies.ini" and the viewer's
// temporary pictures). Tests point it at a temporary folder.
QString programFolder();
void setProgramFolder(const QString& folder);
// programFolder() + separator + name.
QString programFile(const QString& name);

// The folder of the executable, as long as it holds "vyrn.ini" already (a portable
// copy) or VYRN can create files in it and it is not the "bin" folder of an
// installation; otherwise "vyrn" in the user's configuration folder (configHome:
// $XDG_CONFIG_HOME, else ~/.config), which is created here when missing.
QString chooseFilesFolder(const QString& executableFolder, const QString& configHome);

inline const QString kConfigFileName = QStringLiteral("vyrn.ini");
inline const QString kOldConfigFileName = QStringLiteral("old-vyrn.ini");
inline const QString kServersFileName = QStringLiteral("servers.ini");
inline const QString kBuddiesFileName = QStringLiteral("buddies.ini");
inline const QString kHistoryFileName = QStringLiteral("history.sqlite");
