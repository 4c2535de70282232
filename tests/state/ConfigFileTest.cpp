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
    EXPECT_TRUE(RewriteConfig(c, "False"));
    EXPECT_EQ(folder.read("vyrn.ini"), kEightLines);
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

TEST(ConfigFile, FailedWriteKeepsTheOldFile) {
    TempProgramFolder folder;
    folder.write("vyrn.ini", kEightLines);
    AppConfig c;
    c.UtPath = QString(4096, 'x');
    {
        FileSizeLimit disk(64);  // the write fails half-way
        EXPECT_FALSE(RewriteConfig(c, "True"));
    }
    EXPECT_EQ(folder.read("vyrn.ini"), kEightLines);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"vyrn.ini"});  // no temporary left
}

TEST(ConfigFile, OldFormatResetAnsweredNo) {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    ProgramEndRecorder ended;
    const QByteArray old = "I accept the Agreement\r\nSERVER=10.0.0.1\r\nSERVERPORT=7778\r\n";
    folder.write("vyrn.ini", old);
    prompts.answers = {MsgAnswer::No, MsgAnswer::Ok};
    AppConfig c;
    bool skip = false;
    EXPECT_EQ(GetPaths(c, skip), GetPathsResult::OldFormatReset);
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0].text,
              "Old VYRN.INI found, resetting config file.\r\nDo you want to import your previous favorites?");
    EXPECT_EQ(prompts.shown[0].title, "VYRN 3.0");
    EXPECT_EQ(prompts.shown[1].text, "Please restart VYRN.");
    EXPECT_EQ(prompts.shown[1].icon, MsgIcon::Information);
    EXPECT_EQ(ended.count, 1);
    EXPECT_FALSE(folder.exists("vyrn.ini"));
    EXPECT_EQ(folder.read("old-vyrn.ini"), old);
    EXPECT_FALSE(folder.exists("servers.ini"));
}

TEST(ConfigFile, OldFormatResetImportsServerPairs) {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    ProgramEndRecorder ended;
    folder.write("servers.ini", "1.2.3.4:7778:UT3\r\n");
    folder.write("vyrn.ini",
                 "c:\\agreement\\ut.exe\r\njunk, more\r\nSERVER=10.0.0.1\r\nSERVERPORT=7778\r\n"
                 "server=10.0.0.2,SERVERPORT=7790\r\n\"Server=10.0.0.3\",  7800\r\nSERVER=lonely\r\n");
    prompts.answers = {MsgAnswer::Yes, MsgAnswer::Ok};
    AppConfig c;
    bool skip = false;
    GetPaths(c, skip);
    EXPECT_EQ(folder.read("servers.ini"),
              "1.2.3.4:7778:UT3\r\n10.0.0.1:7778:UT\r\n10.0.0.2:7790:UT\r\n10.0.0.3:7800:UT\r\n");
}

TEST(ConfigFile, OldFormatWithoutServersCreatesOrKeepsTheFavourites) {
    TempProgramFolder folder;
    ScriptedPrompter prompts;
    ProgramEndRecorder ended;
    folder.write("vyrn.ini", "AGREEMENT\r\nnothing here\r\n");
    prompts.answers = {MsgAnswer::Yes, MsgAnswer::Ok};
    AppConfig c;
    bool skip = false;
    GetPaths(c, skip);
    EXPECT_TRUE(folder.exists("servers.ini"));
    EXPECT_EQ(folder.read("servers.ini"), "");
}

TEST(ConfigFile, NinthLineHoldsTheBuddyAlertSwitch) {
    TempProgramFolder folder;
    folder.write("vyrn.ini", kEightLines);
    AppConfig c;
    bool skip = false;
    GetPaths(c, skip);
    EXPECT_TRUE(buddyAlertsOn(c));  // older files: alerts on
    c.BuddyAlerts = "0";
    ASSERT_TRUE(RewriteConfig(c, "False"));
    EXPECT_EQ(folder.read("vyrn.ini"), kEightLines + "0\r\n");
    AppConfig again;
    GetPaths(again, skip);
    EXPECT_FALSE(buddyAlertsOn(again));
    EXPECT_EQ(again.LastSaveDrive, "/h");  // the eight lines keep their meaning
}
