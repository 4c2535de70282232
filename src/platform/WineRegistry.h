#pragma once
#include <QString>

// The registry of the Windows programs this one works with lives in the user's Wine
// prefix: the HKEY_LOCAL_MACHINE hive is the prefix's "system.reg".

enum class RegistryRoot { LocalMachine };

// The prefix named by WINEPREFIX, else ~/.wine.
QString winePrefix();

// The prefix a Windows program lies in: the folder holding the "drive_c" (or the
// "dosdevices") its path passes through, as Steam, Lutris and plain Wine prefixes have
// it. Empty when the path passes through none.
QString winePrefixOf(const QString& programPath);

// The text of a plain string value ("name"="text") of the key, cut at its first NUL;
// empty for a missing prefix, key or value, or a value of another type. Key and value
// names compare in any letter case, as Windows does. A key under "Software\" that is
// missing is also looked for under "Software\Wow6432Node\", where a 64-bit prefix
// keeps what 32-bit installers wrote.
QString readRegistryString(RegistryRoot root, const QString& keyPath, const QString& valueName);

// The same read on a given hive file (tests, or a caller that knows its file).
QString readRegistryStringFromFile(const QString& hivePath, const QString& keyPath,
                                   const QString& valueName);

// Maps a Windows path of the prefix ("C:\UT2004") to the file system ("<prefix>/drive_c/UT2004"),
// with "/" separators and no trailing separator. Drive C is the prefix's drive_c, other
// drives the prefix's dosdevices links. Empty when the path has no drive letter or the
// drive is not known to the prefix.
QString mapWindowsPathIntoPrefix(const QString& windowsPath, const QString& prefix);
