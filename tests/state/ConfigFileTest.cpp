#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "state/ConfigFile.h"
#include "state/ProgramFolder.h"
#include "support/TestSupport.h"

namespace {
const QByteArray kEightLines =
    "/g/UT/System/UnrealTournament.exe\r\n/g/UT2003/System/ut2003.exe\r\n"
    "/g/UT2004/System/UT2004.exe\r\n2\r\n 4 \r\nFalse\r\n/home/p/shots\r\n/h\r\n";
}

TEST(ConfigFile, ReadsEightPositionalLinesAndWritesThemBack) {
    TempProgramFolder folder;
    folder.write("vyrn.ini", kEightLines);
    AppConfig c;
    bool skip = false;
    EXPECT_EQ(GetPaths(c, skip), GetPathsResult::Read);
    EXPECT_EQ(c.UtPath, "/g/UT/System/UnrealTournament.exe");
    EXPECT_EQ(c.Ut2004Path, "/g/UT2004/System/UT2004.exe");
    EXPECT_EQ(c.AfterLaunch, "2");
    EXPECT_EQ(c.RefreshDelay, " 4 ");
    EXPECT_EQ(c.LastSaveFolder, "/home/p/shots");
    EXPECT_EQ(c.LastSaveDrive, "/h");
    EXPECT_FALSE(skip);
    EXPECT_TRUE(buddyAlertsOn(c));  // files of older versions have no ninth line: alerts on
    EXPECT_TRUE(RewriteConfig(c, "False"));
    EXPECT_EQ(folder.read("vyrn.ini"), kEightLines);

    c.BuddyAlerts = "0";  // the ninth line, after everything older versions read
    ASSERT_TRUE(RewriteConfig(c, "False"));
    EXPECT_EQ(folder.read("vyrn.ini"), kEightLines + "0\r\n");
    AppConfig again;
    GetPaths(again, skip);
    EXPECT_FALSE(buddyAlertsOn(again));
    EXPECT_EQ(again.LastSaveDrive, "/h");
}

TEST(ConfigFile, OnlyExactlyFalseOnLineSixLetsTheOfferCome) {
    TempProgramFolder folder;
    for (const char* line6 : {"", "True", "true", "false", "FALSE", "no"}) {
        folder.write("vyrn.ini", QByteArray("a\r\nb\r\nc\r\n1\r\n2\r\n") + line6 + "\r\n");
        AppConfig c;
        bool skip = false;
        GetPaths(c, skip);
        EXPECT_TRUE(skip) << line6;
    }
    // "False" never clears a flag that is already set.
    folder.write("vyrn.ini", "a\r\nb\r\nc\r\n1\r\n2\r\nFalse\r\n");
    AppConfig c;
    bool skip = true;
    GetPaths(c, skip);
    EXPECT_TRUE(skip);
}

TEST(ConfigFile, ShortMissingAndOddFilesKeepEarlierValues) {
    TempProgramFolder folder;
    AppConfig c;
    c.AfterLaunch = "1";
    c.LastSaveFolder = "kept";
    bool skip = false;
    EXPECT_EQ(GetPaths(c, skip), GetPathsResult::Missing);
    EXPECT_TRUE(skip);

    folder.write("vyrn.ini", "/only/ut\n/only/ut2003");  // LF only, no end on the last line
    skip = false;
    EXPECT_EQ(GetPaths(c, skip), GetPathsResult::Read);
    EXPECT_EQ(c.Ut2003Path, "/only/ut2003");
    EXPECT_EQ(c.AfterLaunch, "1");
    EXPECT_EQ(c.LastSaveFolder, "kept");
    EXPECT_TRUE(skip);

    folder.write("vyrn.ini", QByteArray("\x00\x01\xff\xfe binary\r\n", 13));
    EXPECT_EQ(GetPaths(c, skip), GetPathsResult::Read);  // read as text, no crash
}

TEST(ConfigFile, RewriteOnlyWhenTheFileExists) {
    TempProgramFolder folder;
    AppConfig c;
    c.UtPath = "x";
    EXPECT_TRUE(RewriteConfig(c, "True"));
    EXPECT_FALSE(folder.exists("vyrn.ini"));
    EXPECT_TRUE(writeConfigFile(c, ""));
    EXPECT_EQ(folder.read("vyrn.ini"), "x\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST(ConfigFile, OldFormatResetMovesTheFileToOldVyrnIni) {
    TempProgramFolder folder;
    const QByteArray old = "I accept the Agreement\r\nSERVER=10.0.0.1\r\nSERVERPORT=7778\r\n";
    folder.write("vyrn.ini", old);
    AppConfig c;
    bool skip = false;
    EXPECT_EQ(GetPaths(c, skip), GetPathsResult::OldFormat);
    const OldFormatReset reset = resetOldFormat(false);
    EXPECT_TRUE(reset.copy && reset.favourites);
    EXPECT_FALSE(folder.exists("vyrn.ini"));
    EXPECT_EQ(folder.read("old-vyrn.ini"), old);
    EXPECT_FALSE(folder.exists("servers.ini"));  // answered No: nothing imported
}

TEST(ConfigFile, OldFormatResetKeepsVyrnIniWhenTheCopyFails) {
    TempProgramFolder folder;
    const QByteArray old = "AGREEMENT\r\nSERVER=10.0.0.1\r\nSERVERPORT=7778\r\n";
    folder.write("vyrn.ini", old);
    QDir(folder.path()).mkpath("old-vyrn.ini/kept");  // a folder where the copy should go
    const OldFormatReset reset = resetOldFormat(true);
    EXPECT_FALSE(reset.copy);
    EXPECT_EQ(reset.copy.path, folder.file("old-vyrn.ini"));
    EXPECT_EQ(folder.read("vyrn.ini"), old);
    EXPECT_FALSE(folder.exists("servers.ini"));  // nothing imported that a retry would import again
}

TEST(ConfigFile, OldFormatResetImportsServerPairs) {
    TempProgramFolder folder;
    folder.write("servers.ini", "1.2.3.4:7778:UT3\r\n\r\n");
    folder.write("vyrn.ini",
                 "c:\\agreement\\ut.exe\r\njunk, more\r\nSERVER=10.0.0.1\r\nSERVERPORT=7778\r\n"
                 "server=10.0.0.2,SERVERPORT=7790\r\n\"Server=10.0.0.3\",  7800\r\nSERVER=,7801\r\nSERVER=lonely\r\n");
    EXPECT_TRUE(resetOldFormat(true).favourites);
    // The lines already there keep every byte; a pair without an address is no favourite.
    EXPECT_EQ(folder.read("servers.ini"),
              "1.2.3.4:7778:UT3\r\n\r\n10.0.0.1:7778:UT\r\n10.0.0.2:7790:UT\r\n10.0.0.3:7800:UT\r\n");

    QFile::remove(folder.file("servers.ini"));
    folder.write("vyrn.ini", "AGREEMENT\r\nnothing here\r\n");
    EXPECT_TRUE(resetOldFormat(true).favourites);
    EXPECT_TRUE(folder.exists("servers.ini"));
    EXPECT_EQ(folder.read("servers.ini"), "");
}
