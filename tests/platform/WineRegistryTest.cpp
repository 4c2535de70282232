#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/WineRegistry.h"

namespace {
// A system.reg as Wine writes it: escaped key names with a timestamp, typed values.
const char kSystemReg[] =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n"
    "\n"
    "#arch=win32\n"
    "\n"
    "[Software\\\\Unreal Technology\\\\Installed Apps\\\\UnrealTournament] 1700000000\n"
    "#time=1d9a2b3c4d5e6f7\n"
    "\"Folder\"=\"C:\\\\UnrealTournament\"\n"
    "\"Version\"=\"451\"\n"
    "\n"
    "[Software\\\\Unreal Technology\\\\Installed Apps\\\\UT2003] 1700000001\n"
    "\"Folder\"=str(2):\"%ProgramFiles%\\\\UT2003\"\n"
    "\n"
    "[Software\\\\Unreal Technology\\\\Installed Apps\\\\UT2004] 1700000002\n"
    "\"folder\"=\"D:\\\\Games\\\\Caf\\xe9 UT2004\\0junk\"\n"
    "\"Bin\"=hex:01,02,03\n"
    "\"Count\"=dword:00000003\n"
    "\n"
    "[Software\\\\Other] 1700000003\n"
    "\"Folder\"=\"C:\\\\Other\"\n";

struct Hive {
    QTemporaryDir dir;
    QString path() const { return dir.filePath("system.reg"); }
    Hive(const QByteArray& text) {
        QFile f(path());
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
};

const QString kKeyBase = QStringLiteral("Software\\Unreal Technology\\Installed Apps\\");
}  // namespace

TEST(WineRegistry, ReadsOnlyPlainStringValues) {
    const Hive hive(kSystemReg);
    struct Case { QString key, value, expected; } cases[] = {
        {kKeyBase + "UnrealTournament", "Folder", "C:\\UnrealTournament"},
        {kKeyBase + "unrealtournament", "FOLDER", "C:\\UnrealTournament"},  // any letter case
        {kKeyBase + "UT2003", "Folder", ""},                                // str(2): expandable
        {kKeyBase + "UT2004", "Folder", QString::fromUtf8("D:\\Games\\Caf\u00e9 UT2004")},  // cut at NUL
        {kKeyBase + "UT2004", "Bin", ""},
        {kKeyBase + "UT2004", "Count", ""},
        {kKeyBase + "UT2004", "Missing", ""},
        {kKeyBase + "Unreal", "Folder", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readRegistryStringFromFile(hive.path(), c.key, c.value), c.expected) << c.key.toStdString();
}

TEST(WineRegistry, MissingOrBrokenHiveGivesEmptyText) {
    EXPECT_EQ(readRegistryStringFromFile("/nonexistent/system.reg", kKeyBase + "UT2004", "Folder"), "");
    const Hive truncated("[Software\\\\Unreal Technology\\\\Installed Apps\\\\UT2004] 1\n\"Folder\"=\"C:\\\\UT");
    EXPECT_EQ(readRegistryStringFromFile(truncated.path(), kKeyBase + "UT2004", "Folder"), "");
    const Hive binary(QByteArray("\0\xff[\x01\"\\", 6));
    EXPECT_EQ(readRegistryStringFromFile(binary.path(), kKeyBase + "UT2004", "Folder"), "");
}

TEST(WineRegistry, MapsWindowsPathsIntoThePrefix) {
    QTemporaryDir prefix;
    QDir(prefix.path()).mkpath("dosdevices");
    QDir(prefix.path()).mkpath("games");
    QFile::link(prefix.filePath("games"), prefix.filePath("dosdevices/d:"));
    const QString p = prefix.path();
    EXPECT_EQ(mapWindowsPathIntoPrefix("C:\\UT2004", p), p + "/drive_c/UT2004");
    EXPECT_EQ(mapWindowsPathIntoPrefix("c:\\Games\\UT2004\\", p), p + "/drive_c/Games/UT2004");
    EXPECT_EQ(mapWindowsPathIntoPrefix("C:\\", p), p + "/drive_c");
    EXPECT_EQ(mapWindowsPathIntoPrefix("D:\\UT", p), p + "/dosdevices/d:/UT");
    EXPECT_EQ(mapWindowsPathIntoPrefix("E:\\UT", p), "");  // a drive the prefix does not know
    EXPECT_EQ(mapWindowsPathIntoPrefix("\\\\server\\share", p), "");
    EXPECT_EQ(mapWindowsPathIntoPrefix("", p), "");
}

TEST(WineRegistry, PrefixOfAProgramIsTheFolderHoldingItsDriveC) {
    const struct { const char* program; const char* prefix; } cases[] = {
        {"/home/p/.wine/drive_c/UT2004/System/UT2004.exe", "/home/p/.wine"},
        {"/home/p/.steam/steam/steamapps/compatdata/13230/pfx/drive_c/Games/UT2004/System/UT2004.exe",
         "/home/p/.steam/steam/steamapps/compatdata/13230/pfx"},
        {"/home/p/Games/ut/dosdevices/c:/UnrealTournament/System/UnrealTournament.exe", "/home/p/Games/ut"},
        {"/home/p/a/drive_c/b/drive_c/UT/System/UT.exe", "/home/p/a/drive_c/b"},  // the innermost
        {"/mnt/windows/UT2004/System/UT2004.exe", ""},
        {"/home/p/drive_c", ""},  // a file so named is no drive
    };
    for (const auto& c : cases) EXPECT_EQ(winePrefixOf(c.program), c.prefix) << c.program;
}
