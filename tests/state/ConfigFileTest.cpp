#include <gtest/gtest.h>

#include "state/ConfigFile.h"
#include "support/TestSupport.h"

TEST(ConfigFile, EightPositionalLinesReadAndWrittenBackByteForByte) {
    const QByteArray eight =
        "/g/UT/System/UnrealTournament.exe\r\n/g/UT2003/System/ut2003.exe\r\n"
        "/g/UT2004/System/UT2004.exe\r\n2\r\n 4 \r\nFalse\r\n/home/p/shots\r\n/h\r\n";
    TempProgramFolder folder;
    AppConfig c;
    EXPECT_TRUE(rewriteConfig(c, "True"));  // only a file that is there is rewritten
    EXPECT_FALSE(folder.exists("vyrn.ini"));
    folder.write("vyrn.ini", eight);
    bool skip = false;
    EXPECT_EQ(loadConfig(c, skip), GetPathsResult::Read);
    EXPECT_EQ(c.ut2004Path, "/g/UT2004/System/UT2004.exe");
    EXPECT_EQ(c.lastSaveDrive, "/h");
    EXPECT_TRUE(buddyAlertsOn(c));  // files of older versions have no ninth line: alerts on
    EXPECT_TRUE(rewriteConfig(c, "False"));
    EXPECT_EQ(folder.read("vyrn.ini"), eight);

    c.buddyAlerts = "0";  // the ninth line, after everything older versions read
    ASSERT_TRUE(rewriteConfig(c, "False"));
    EXPECT_EQ(folder.read("vyrn.ini"), eight + "0\r\n");
    AppConfig again;
    loadConfig(again, skip);
    EXPECT_FALSE(buddyAlertsOn(again));
    EXPECT_FALSE(buddyHistoryOn(again));  // no tenth line: no names in the history

    c.buddyAlerts.clear();  // the tenth line needs a ninth before it, empty: alerts stay on
    c.buddyHistory = "1";
    ASSERT_TRUE(rewriteConfig(c, "False"));
    EXPECT_EQ(folder.read("vyrn.ini"), eight + "\r\n1\r\n");
    loadConfig(again, skip);
    EXPECT_TRUE(buddyAlertsOn(again) && buddyHistoryOn(again));
}

TEST(ConfigFile, OldFormatResetImportsEveryServerPairAndKeepsTheOldLines) {
    TempProgramFolder folder;
    folder.write("servers.ini", "1.2.3.4:7778:UT3\r\n\r\n");
    folder.write(
        "vyrn.ini",
        "c:\\agreement\\ut.exe\r\njunk, more\r\nSERVER=10.0.0.1\r\nSERVERPORT=7778\r\n"
        "server=10.0.0.2,SERVERPORT=7790\r\n\"Server=10.0.0.3\",  7800\r\nSERVER=,7801\r\nSERVER=lonely\r\n");
    EXPECT_TRUE(resetOldFormat(true).favourites);
    // The lines already there keep every byte; a pair without an address is no favourite.
    EXPECT_EQ(folder.read("servers.ini"),
              "1.2.3.4:7778:UT3\r\n\r\n10.0.0.1:7778:UT\r\n10.0.0.2:7790:UT\r\n10.0.0.3:7800:UT\r\n");
    EXPECT_EQ(folder.read("old-vyrn.ini").left(20), "c:\\agreement\\ut.exe\r");
}
