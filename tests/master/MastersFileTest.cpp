// "masters.ini": the user's list of masters beside the program.
#include <gtest/gtest.h>

#include "master/MasterServers.h"
#include "support/TestSupport.h"

namespace {
QStringList texts(const QList<MasterAddress>& masters) {
    QStringList t;
    for (const MasterAddress& m : masters) t << m.text();
    return t;
}
}  // namespace

// The community masters when the file is missing or lists none; written only when missing.
TEST(MastersFile, LinesInOrderBadLinesLeftOutAndNoneGivesTheCommunityMasters) {
    TempProgramFolder folder;
    EXPECT_EQ(texts(loadMasters()), texts(defaultMasters()));
    ASSERT_TRUE(writeDefaultMastersIfMissing());
    EXPECT_TRUE(folder.read("masters.ini").contains("master.333networks.com:28900\r\n"));
    const QByteArray none = "; nothing here\r\n\r\nnot a master!\r\n";
    folder.write("masters.ini", none);
    ASSERT_TRUE(writeDefaultMastersIfMissing());
    EXPECT_EQ(folder.read("masters.ini"), none);
    EXPECT_EQ(texts(loadMasters()), texts(defaultMasters()));
    folder.write("masters.ini",
                 "# mine first\r\n  master.example.org:28905  \r\n127.0.0.1\r\nhost:0\r\nhost:99999\r\n"
                 "spaced name:28900\r\n10.0.0.1:28900\n");
    EXPECT_EQ(texts(loadMasters()),
              QStringList({"master.example.org:28905", "127.0.0.1:28900", "10.0.0.1:28900"}));
}
