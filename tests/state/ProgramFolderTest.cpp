#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ReadOnlyFolder.h"
#include "state/ProgramFolder.h"

namespace {
struct Places {
    QTemporaryDir root;
    QString configHome = root.filePath("home/.config");
    QString userFolder = root.filePath("home/.config/vyrn");

    QString folder(const QString& relative, bool withVyrnIni = false) const {
        const QString path = root.filePath(relative);
        QDir().mkpath(path);
        if (withVyrnIni) {
            QFile f(QDir(path).filePath("vyrn.ini"));
            f.open(QIODevice::WriteOnly);
        }
        return path;
    }
};
}  // namespace

TEST(FilesFolder, TheProgramFolderUnlessItIsAnInstallationOrCannotBeWritten) {
    Places p;
    QFile(p.root.filePath("plain-file")).open(QIODevice::WriteOnly);
    const QString noFolder = p.root.filePath("plain-file/VYRN");  // its "parent" is a file
    struct Case {
        const char* what;
        QString executableFolder;
        bool programFolder;  // else the user's configuration folder
    };
    const Case cases[] = {
        {"a copy unpacked anywhere", p.folder("games/VYRN"), true},
        {"installed in a bin folder", p.folder("usr/bin"), false},
        {"a portable copy that already keeps vyrn.ini in bin", p.folder("stick/bin", true), true},
        {"a folder no file can be made in", noFolder, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString chosen = chooseFilesFolder(c.executableFolder, p.configHome);
        EXPECT_EQ(chosen, c.programFolder ? c.executableFolder : p.userFolder);
    }
    EXPECT_TRUE(QFileInfo(p.userFolder).isDir());  // made on first use
}

TEST(FilesFolder, AReadOnlyProgramFolderSendsNewUsersToTheirConfigurationFolder) {
    Places p;
    const QString fresh = p.folder("ro/VYRN");
    const QString portable = p.folder("ro-portable/VYRN", true);
    for (const QString& folder : {fresh, portable})
        if (const QString why = mountReadOnly(folder); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    const QString forFresh = chooseFilesFolder(fresh, p.configHome);
    const QString forPortable = chooseFilesFolder(portable, p.configHome);
    unmountReadOnly(fresh);
    unmountReadOnly(portable);
    EXPECT_EQ(forFresh, p.userFolder);
    EXPECT_EQ(forPortable, portable);  // its vyrn.ini is read there; saves then say why they fail
}
