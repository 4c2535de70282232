#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "query/MainGrids.h"
#include "state/AppConfig.h"
#include "state/ConfigFile.h"
#include "state/FavouritesFiles.h"
#include "support/TestSupport.h"

// The demo folder written by tools/demo: three favourites on loopback, one per game,
// and buddies the stand-in servers have on them.
TEST(DemoFolder, PointsAtThreeStandInsWithABuddyOnThem) {
    TempProgramFolder folder;
    QProcess demo;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VYRN_DEMO_DIR", folder.path());
    demo.setProcessEnvironment(env);
    demo.start("bash", {QString(VYRN_SOURCE_DIR) + "/tools/demo", "--prepare"});
    ASSERT_TRUE(demo.waitForFinished(120000));
    ASSERT_EQ(demo.exitCode(), 0) << demo.readAllStandardError().toStdString();
    EXPECT_TRUE(folder.exists("vyrn"));

    MainState s;
    SetupServerGrid(s);
    SetupBuddyGrid(s);
    LoadServerList(s);
    LoadBuddyList(s);
    ASSERT_EQ(s.ServerGrid.Rows(), 4);
    QStringList games;
    for (int r = 1; r < 4; ++r) {
        EXPECT_EQ(s.ServerGrid.TextMatrix(r, 2), "127.0.0.1");
        games << s.ServerGrid.TextMatrix(r, 9);
    }
    EXPECT_EQ(games, (QStringList{"UT", "UT2003", "UT2004"}));
    EXPECT_EQ(s.BudList.TextMatrix(1, 0), "Bob");

    AppConfig config;
    bool skip = false;
    ASSERT_EQ(GetPaths(config, skip), GetPathsResult::Read);
    EXPECT_TRUE(skip);  // no library offer in the demo
    EXPECT_TRUE(buddyAlertsOn(config));
    EXPECT_EQ(config.RefreshDelay.trimmed(), "1");
}
