#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/WineRegistry.h"

namespace {
// Escaped key names with a timestamp and typed values, as Wine writes its system.reg.
const QByteArray kSystemReg =
    "WINE REGISTRY Version 2\n[Software\\\\Unreal\\\\UT] 1700000000\n#time=1d9a2b3c4d5e6f7\n"
    "\"Folder\"=\"C:\\\\UnrealTournament\"\n\"Cut\"=\"D:\\\\Caf\\xe9 UT2004\\0junk\"\n"
    "\"Expand\"=str(2):\"%ProgramFiles%\\\\UT2003\"\n\"Bin\"=hex:01,02,03\n\"Count\"=dword:00000003\n";

QString readFromHive(const QByteArray& text, const QString& key, const QString& value) {
    QTemporaryDir dir;
    QFile f(dir.filePath("system.reg"));
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.flush()) return "not written";
    return readRegistryStringFromFile(f.fileName(), key, value);
}
}  // namespace

TEST(WineRegistry, ReadsOnlyPlainStringValuesAndNothingFromABrokenHive) {
    const QString key = "Software\\Unreal\\UT";
    EXPECT_EQ(readFromHive(kSystemReg, key.toLower(), "FOLDER"), "C:\\UnrealTournament");  // any letter case
    EXPECT_EQ(readFromHive(kSystemReg, key, "Cut"), QString::fromUtf8("D:\\Caf\u00e9 UT2004"));  // cut at NUL
    EXPECT_EQ(readFromHive(kSystemReg, "Software\\Unreal", "Folder"), "");
    for (const char* otherType : {"Expand", "Bin", "Count", "Missing"})
        EXPECT_EQ(readFromHive(kSystemReg, key, otherType), "") << otherType;
    const QByteArray truncated = "[Software\\\\Unreal\\\\UT] 1\n\"Folder\"=\"C:\\\\UT";
    for (const QByteArray& broken : {truncated, QByteArray("\0\xff[\x01\"\\", 6)})
        EXPECT_EQ(readFromHive(broken, key, "Folder"), "");
}

// Drive C and the plain Wine and Steam prefixes are pinned by the path detection and the
// launch; these are the drives and prefixes they do not meet.
TEST(WineRegistry, OtherDrivesGoThroughDosdevicesAndThePrefixIsTheInnermostDrive) {
    QTemporaryDir prefix;
    const QString p = prefix.path();
    QDir(p).mkpath("dosdevices");
    QFile::link(p, p + "/dosdevices/d:");
    EXPECT_EQ(mapWindowsPathIntoPrefix("c:\\Games\\UT2004\\", p), p + "/drive_c/Games/UT2004");
    EXPECT_EQ(mapWindowsPathIntoPrefix("D:\\UT", p), p + "/dosdevices/d:/UT");
    for (const char* unknown : {"E:\\UT", "\\\\server\\share", ""})
        EXPECT_EQ(mapWindowsPathIntoPrefix(unknown, p), "");
    EXPECT_EQ(winePrefixOf("/home/p/ut/dosdevices/c:/UT/System/UT.exe"), "/home/p/ut");
    EXPECT_EQ(winePrefixOf("/home/p/a/drive_c/b/drive_c/UT/System/UT.exe"), "/home/p/a/drive_c/b");
    EXPECT_EQ(winePrefixOf("/home/p/drive_c"), "");  // a file so named is no drive
}
