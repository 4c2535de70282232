#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ReadOnlyFolder.h"
#include "state/ProgramFolder.h"

namespace {
// A folder below root, made, with an empty "vyrn.ini" in it when asked.
QString folderIn(const QTemporaryDir& root, const QString& relative, bool withVyrnIni = false) {
    const QString path = root.filePath(relative);
    QDir().mkpath(path);
    if (withVyrnIni) QFile(path + "/vyrn.ini").open(QIODevice::WriteOnly);
    return path;
}
}  // namespace

TEST(FilesFolder, TheProgramFolderUnlessItIsAnInstallationOrCannotBeWritten) {
    QTemporaryDir root;
    const QString configHome = root.filePath("home/.config"), userFolder = configHome + "/vyrn";
    QFile(root.filePath("plain-file")).open(QIODevice::WriteOnly);
    const struct {
        const char* what;
        QString executableFolder;
        bool programFolder;  // else the user's configuration folder
    } cases[] = {
        {"a copy unpacked anywhere", folderIn(root, "games/VYRN"), true},
        {"installed in a bin folder", folderIn(root, "usr/bin"), false},
        {"a portable copy that already keeps vyrn.ini in bin", folderIn(root, "stick/bin", true), true},
        {"a folder whose parent is a file", root.filePath("plain-file/VYRN"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooseFilesFolder(c.executableFolder, configHome),
                  c.programFolder ? c.executableFolder : userFolder)
            << c.what;
    EXPECT_TRUE(QFileInfo(userFolder).isDir());  // made on first use
}

TEST(FilesFolder, AReadOnlyProgramFolderSendsNewUsersToTheirConfigurationFolder) {
    QTemporaryDir root;
    const QString configHome = root.filePath("home/.config");
    const QString fresh = folderIn(root, "ro/VYRN"), portable = folderIn(root, "ro-portable/VYRN", true);
    for (const QString& folder : {fresh, portable})
        if (const QString why = mountReadOnly(folder); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    const QString forFresh = chooseFilesFolder(fresh, configHome);
    const QString forPortable = chooseFilesFolder(portable, configHome);
    unmountReadOnly(fresh);
    unmountReadOnly(portable);
    EXPECT_EQ(forFresh, configHome + "/vyrn");
    EXPECT_EQ(forPortable, portable);  // its vyrn.ini is read there; saves then say why they fail
}
