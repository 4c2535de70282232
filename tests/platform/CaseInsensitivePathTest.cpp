#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/CaseInsensitivePath.h"

TEST(CaseInsensitivePath, FindsTheRealSpellingOfEveryPart) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("UT2004/System");
    QDir(dir.path()).mkpath("UT2004/ScreenShots");
    QFile(dir.filePath("UT2004/System/User.ini")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("UT2004/System/user.ini.bak")).open(QIODevice::WriteOnly);
    const QString base = dir.path() + "/";
    const struct { QString asked; std::optional<QString> found; } cases[] = {
        {base + "ut2004/SYSTEM/USER.INI", base + "UT2004/System/User.ini"},
        {base + "ut2004/screenshots", base + "UT2004/ScreenShots"},
        {base + "UT2004/System/User.ini", base + "UT2004/System/User.ini"},
        {base + "ut2004/system/UT2004.ini", std::nullopt},
        {base + "ut2004/system/user", std::nullopt},  // whole names only
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(resolvePathIgnoringCase(c.asked), c.found) << c.asked.toStdString();
}
