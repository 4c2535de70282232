// VYRN's own files never lose a byte: whatever their encoding and line ends, too big, or not writable.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "ReadOnlyFolder.h"
#include "platform/FileIO.h"
#include "platform/Text1252.h"
#include "query/PlayersAndBuddies.h"
#include "settings/SettingsDialog.h"
#include "state/ConfigFile.h"
#include "state/FavouritesFiles.h"
#include "support/GameInstalls.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

namespace {
// "Save sorted server list", then the settings dialog opened and closed unchanged,
// as the menu item "VYRN Settings" does.
void settingsRoundTrip() {
    GameInstalls home;  // never the user's own registry or games
    LoadedMainWindow main;
    ASSERT_TRUE(saveSortedServerList(main.s));
    ScriptedPrompter prompts;
    SettingsDialog(false).accept();
    EXPECT_TRUE(prompts.shown.isEmpty());
}

}  // namespace

TEST(OwnFiles, SettingsRoundTripKeepsEveryByte) {
    struct Case {
        const char* what;
        QByteArray servers, buddies, config;
    };
    const Case cases[] = {
        {"Windows-1252 from the Windows program, CR LF", "10.0.0.1:7778:UT3\r\n10.0.0.2:7777:ut\r\n",
         "Jos\xE9\r\nM\xFCller\r\n[\x80]**\r\n",
         "/home/jos\xE9/UT/System/UnrealTournament.exe\r\n\r\n\r\n2\r\n 3 \r\n\r\n\r\n\r\n1\r\n"},
        {"UTF-8, LF", "10.0.0.1:7778:UT3\n", "J\xC3\xBCrgen\n\xE2\x98\x85Star\n",
         "/home/j\xC3\xBCrgen/ut-bin\n\n\n1\n 2 \n\n\n\n0\n"},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBFut.example.org:7778:UT\r\n",
         "\xEF\xBB\xBFZo\xC3\xAB\r\n", ""},
        {"bytes Windows-1252 leaves undefined", "", "A\x81\x8D\x8F\x90\x9D\r\n", ""},
        {"a tab inside a buddy's name", "", "Bob\tthe builder\r\nAlice\r\n", ""},
        {"notes, a comment field, mixed line ends, another program's vyrn.ini",
         "; my clan\r\n\r\n10.0.0.1:7778:UT:My comment\n10.0.0.2:7777:ut", "Bob\rAlice\r\r",
         "/ut\r\n\r\n\r\n1\r\n3\r\nTrue\r\n"},
        {"UTF-16 from a Windows editor", "",
         QByteArrayLiteral("\xFF\xFE"
                           "B\0o\0b\0\r\0\n\0\xA9\x03\r\0\n\0"),
         ""},
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
        if (c.config.isEmpty()) continue;
        EXPECT_EQ(folder.read("vyrn.ini"), c.config);
    }
}

TEST(OwnFiles, NamesShowAndMatchAsTheirFileMeantThem) {
    TempProgramFolder folder;
    folder.write("buddies.ini", "Jos\xE9\r\nM\xFCller\r\nBob\tthe builder\r\n");
    LoadedMainWindow main;
    EXPECT_EQ(gridColumn(main.s.buddyGrid, 0),
              (QStringList{QString::fromUtf8("José"), QString::fromUtf8("Müller"), "Bob\tthe builder"}));
    EXPECT_EQ(gridColumn(main.s.buddyGrid, 1), (QStringList{"", "", ""}));  // the tab splits nothing
    // A player's name comes off the wire in Windows-1252.
    buddyMatch(main.s, windows1252ToUnicode("M\xFCller"), "Host");
    EXPECT_EQ(main.s.buddyGrid.cellText(1, 0), QString::fromUtf8("Müller"));  // found: first
    EXPECT_EQ(main.s.buddyGrid.cellText(1, 1), "Host");
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
        {"a character Windows-1252 lacks makes it UTF-8, losing none", "Jos\xE9\r\n",
         QString::fromUtf8("Ωmega"), "Jos\xC3\xA9\r\n\xCE\xA9mega\r\n"},
        {"lone CR stays", "Jos\xE9\r", QString::fromUtf8("Zoë"), "Jos\xE9\rZo\xEB\r"},
        {"a no-break space is Windows-1252",
         "A\xA0"
         "B\r\n",
         "C",
         "A\xA0"
         "B\r\nC\r\n"},
        {"no final line end stays so", "Bob\nAlice", "C", "Bob\nAlice\nC"},
        {"UTF-16 LE stays",
         QByteArrayLiteral("\xFF\xFE"
                           "B\0\r\0\n\0"),
         QString::fromUtf8("Ω"),
         QByteArrayLiteral("\xFF\xFE"
                           "B\0\r\0\n\0\xA9\x03\r\0\n\0")},
        {"UTF-16 BE stays", QByteArrayLiteral("\xFE\xFF\0B\0\n"), "C",
         QByteArrayLiteral("\xFE\xFF\0B\0\n\0C\0\n")},
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

TEST(OwnFiles, AFileTooBigToReadIsNeverWrittenOver) {
    const qint64 size = kMaxReadBytes + 1024 * 1024;
    for (const QString name : {"servers.ini", "buddies.ini", "vyrn.ini"}) {
        SCOPED_TRACE(name.toStdString());
        TempProgramFolder folder;
        QFile big(folder.file(name));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.write("10.0.0.1:7778:UT\r\n") && big.resize(size));
        big.close();  // sparse: the test stays fast and small on disk
        LoadedMainWindow main;
        main.s.serverGrid.setCellText(1, 0, "1");  // the scan marker on the empty row
        main.s.serverGrid.setCellText(1, 2, "10.0.0.9");
        const SaveResult saved = name == "servers.ini"   ? saveSortedServerList(main.s)
                                 : name == "buddies.ini" ? writeBuddies({"Bob"})
                                                         : writeConfigFile(AppConfig{}, "True");
        EXPECT_TRUE(saved.reason.contains("larger than 64 MiB")) << saved.reason.toStdString();
        EXPECT_EQ(QFileInfo(folder.file(name)).size(), size);
        EXPECT_EQ(folder.read(name).left(18), "10.0.0.1:7778:UT\r\n");
    }
}

// A write that fails half-way (a full disk) leaves the file whole and is never reported as saved.
TEST(OwnFiles, ABuddyClickedOnAFullDiskIsToldAndTheFileKept) {
    TempProgramFolder folder;
    folder.write("buddies.ini", "Bob\r\nAlice\r\n");
    LoadedMainWindow main;
    main.s.playerGrid.setCellText(1, 0, QString(2000, 'P'));
    main.s.playerGrid.setMouseCell(1, 0);
    const FlexClickResult result = [&] {
        FileSizeLimit disk(16);
        return clickPlayerGrid(main.s);
    }();
    EXPECT_EQ(result.what, FlexClickResult::What::BuddyNotSaved);
    EXPECT_EQ(folder.read("buddies.ini"), "Bob\r\nAlice\r\n");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1);  // no temporaries left
    EXPECT_EQ(main.s.buddyGrid.rowCount(), 3);
}

TEST(OwnFiles, AReadOnlyFolderKeepsEveryFileAndSaysWhereAndWhy) {
    TempProgramFolder folder;
    folder.write("servers.ini", "10.0.0.1:7778:UT\r\n");
    folder.write("buddies.ini", "Jos\xE9\r\n");
    if (const QString why = mountReadOnly(folder.path()); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    LoadedMainWindow main;
    main.s.serverGrid.setCellText(1, 2, "10.0.0.9");
    const SaveResult saved = saveSortedServerList(main.s);
    const SaveResult buddies = writeBuddies({"Bob"});
    unmountReadOnly(folder.path());
    ASSERT_FALSE(saved);
    EXPECT_FALSE(buddies);
    EXPECT_EQ(saveFailureText(saved), "VYRN could not save servers.ini in " + folder.path() + ": " +
                                          saved.reason + ". The file there is unchanged.");
    EXPECT_EQ(saved.reason, "Read-only file system");
    EXPECT_EQ(folder.read("servers.ini"), "10.0.0.1:7778:UT\r\n");
    EXPECT_EQ(folder.read("buddies.ini"), "Jos\xE9\r\n");
}
