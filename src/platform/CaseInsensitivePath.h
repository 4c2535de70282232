#pragma once
#include <QString>
#include <optional>

// The games were made for a file system that ignores letter case; their files on this
// one are spelt as the installer left them ("System/UnrealTournament.ini").

// The existing path whose components match the given ones in any letter case (an exact
// match is preferred), or nothing when no such file or folder exists.
std::optional<QString> resolvePathIgnoringCase(const QString& path);
