// VYRN's own files never lose a byte: files from the Windows program (Windows-1252),
// from this one (UTF-8), with CR LF or LF ends, too big to read, or in a folder that
// cannot be written.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "ReadOnlyFolder.h"
#include "app/Startup.h"
#include "platform/FileIO.h"
#include "platform/Text1252.h"
#include "query/PlayersAndBuddies.h"
#include "settings/SettingsGrids.h"
#include "settings/SettingsValues.h"
#include "state/ConfigFile.h"
#include "state/FavouritesFiles.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

namespace {
// "Save sorted server list", then the settings dialog opened and closed unchanged,
// as the menu item "VYRN Settings" does.
void settingsRoundTrip() {
    QTemporaryDir emptyPrefix;
    qputenv("WINEPREFIX", emptyPrefix.path().toUtf8());  // never the user's own registry
    LoadedMainWindow main;
    ASSERT_TRUE(SaveSortedServerList(main.s));
    FlexGrid servers, buddies;
    layoutSettingsServerGrid(servers, kGameColumnWidthOnOpen);
    loadSettingsServerGrid(servers);
    layoutSettingsBuddyGrid(buddies);
    SettingsValues values;
    LoadSettings(values, appConfig(), buddies);
    EXPECT_TRUE(SaveSettings(values, servers, buddies, appConfig()).isEmpty());
    qunsetenv("WINEPREFIX");
}

void makeSparse(const QString& path, qint64 size) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("10.0.0.1:7778:UT\r\n");
    ASSERT_TRUE(f.resize(size));  // a hole: the test stays fast and small on disk
}
}  // namespace

TEST(OwnFiles, SettingsRoundTripKeepsEveryByte) {
    struct Case {
        const char* what;
        QByteArray servers, buddies, config;
    };
    const Case cases[] = {
        {"Windows-1252 from the Windows program, CR LF",
         "10.0.0.1:7778:UT3\r\n10.0.0.2:7777:ut\r\n", "Jos\xE9\r\nM\xFCller\r\n[\x80]**\r\n",
         "/home/jos\xE9/UT/System/UnrealTournament.exe\r\n\r\n\r\n2\r\n 3 \r\n\r\n\r\n\r\n1\r\n"},
        {"UTF-8, LF", "10.0.0.1:7778:UT3\n", "J\xC3\xBCrgen\n\xE2\x98\x85Star\n",
         "/home/j\xC3\xBCrgen/ut-bin\n\n\n1\n 2 \n\n\n\n0\n"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" "10.0.0.1:7778:UT\r\n", "\xEF\xBB\xBFZo\xC3\xAB\r\n", ""},
        {"bytes Windows-1252 leaves undefined", "", "A\x81\x8D\x8F\x90\x9D\r\n", ""},
        {"a tab inside a buddy's name", "", "Bob\tthe builder\r\nAlice\r\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempProgramFolder folder;
        folder.write("servers.ini", c.servers);
        folder.write("buddies.ini", c.buddies);
        if (!c.config.isEmpty()) folder.write("vyrn.ini", c.config);
        settingsRoundTrip();
        EXPECT_EQ(folder.read("servers.ini"), c.servers);
        EXPECT_EQ(folder.read("buddies.ini"), c.buddies);
        if (!c.config.isEmpty()) {
            EXPECT_EQ(folder.read("vyrn.ini"), c.config);
        }
    }
}

TEST(OwnFiles, NamesShowAndMatchAsTheirFileMeantThem) {
    TempProgramFolder folder;
    folder.write("buddies.ini", "Jos\xE9\r\nM\xFCller\r\nBob\tthe builder\r\n");
    LoadedMainWindow main;
    EXPECT_EQ(gridColumn(main.s.BudList, 0),
              (QStringList{QString::fromUtf8("José"), QString::fromUtf8("Müller"), "Bob\tthe builder"}));
    EXPECT_EQ(gridColumn(main.s.BudList, 1), (QStringList{"", "", ""}));  // the tab splits nothing
    // A player's name comes off the wire in Windows-1252.
    buddyMatch(main.s, windows1252ToUnicode("M\xFC" "ller"), "Host");
    EXPECT_EQ(main.s.BudList.TextMatrix(1, 0), QString::fromUtf8("Müller"));  // found: first
    EXPECT_EQ(main.s.BudList.TextMatrix(1, 1), "Host");
}

TEST(OwnFiles, NewTextIsWrittenInTheFilesOwnEncoding) {
    struct Case {
        const char* what;
        QByteArray before;
        QString added;
        QByteArray after;
    };
    const Case cases[] = {
        {"no file yet: UTF-8 with CR LF", {}, QString::fromUtf8("Zoë"), "Zo\xC3\xAB\r\n"},
        {"Windows-1252 stays so", "Jos\xE9\n", QString::fromUtf8("Zoë"), "Jos\xE9\nZo\xEB\n"},
        {"a character Windows-1252 lacks makes it UTF-8, losing none",
         "Jos\xE9\r\n", QString::fromUtf8("Ωmega"), "Jos\xC3\xA9\r\n\xCE\xA9mega\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempProgramFolder folder;
        if (!c.before.isNull()) folder.write("buddies.ini", c.before);
        QStringList names = readTextLines(folder.file("buddies.ini")).lines;
        ASSERT_TRUE(writeBuddies(names << c.added));
        EXPECT_EQ(folder.read("buddies.ini"), c.after);
    }
}

TEST(OwnFiles, AFileTooBigToReadIsNeverMissingAndNeverWrittenOver) {
    struct Case {
        QString name;
        std::function<SaveResult(MainState&)> save;
    };
    const Case cases[] = {
        {"servers.ini", [](MainState& s) {
             s.ServerGrid.setTextMatrix(1, 0, "1");  // the scan marker on the empty row
             s.ServerGrid.setTextMatrix(1, 2, "10.0.0.9");
             return SaveSortedServerList(s);
         }},
        {"buddies.ini", [](MainState&) { return writeBuddies({"Bob"}); }},
        {"vyrn.ini", [](MainState&) { return writeConfigFile(AppConfig{}, "True"); }},
    };
    const qint64 size = kMaxReadBytes + 1024 * 1024;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        TempProgramFolder folder;
        makeSparse(folder.file(c.name), size);
        const LinesRead read = readTextLines(folder.file(c.name));
        EXPECT_EQ(read.status, LinesRead::TooBig);
        const QString told = readFailureText(read);
        EXPECT_TRUE(told.contains(c.name) && told.contains(folder.path()) && told.contains("larger than 64 MiB"))
            << told.toStdString();

        LoadedMainWindow main;
        const SaveResult saved = c.save(main.s);
        EXPECT_FALSE(saved);
        EXPECT_TRUE(saved.reason.contains("larger than 64 MiB")) << saved.reason.toStdString();
        EXPECT_EQ(QFileInfo(folder.file(c.name)).size(), size);
        EXPECT_EQ(folder.read(c.name).left(18), "10.0.0.1:7778:UT\r\n");
    }
}

TEST(OwnFiles, AReadOnlyFolderKeepsEveryFileAndSaysWhereAndWhy) {
    TempProgramFolder folder;
    folder.write("servers.ini", "10.0.0.1:7778:UT\r\n");
    folder.write("buddies.ini", "Jos\xE9\r\n");
    if (const QString why = mountReadOnly(folder.path()); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    LoadedMainWindow main;
    main.s.ServerGrid.setTextMatrix(1, 2, "10.0.0.9");
    const SaveResult saved = SaveSortedServerList(main.s);
    const SaveResult buddies = writeBuddies({"Bob"});
    unmountReadOnly(folder.path());
    ASSERT_FALSE(saved);
    EXPECT_FALSE(buddies);
    EXPECT_EQ(saveFailureText(saved),
              "VYRN could not save servers.ini in " + folder.path() + ": " + saved.reason +
                  ". The file there is unchanged.");
    EXPECT_EQ(saved.reason, "Read-only file system");
    EXPECT_EQ(folder.read("servers.ini"), "10.0.0.1:7778:UT\r\n");
    EXPECT_EQ(folder.read("buddies.ini"), "Jos\xE9\r\n");
}
