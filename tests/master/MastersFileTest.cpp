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

TEST(MastersFile, MissingOrEmptyFileGivesTheCommunityMasters) {
    TempProgramFolder folder;
    EXPECT_EQ(texts(loadMasters()).first(), "master.333networks.com:28900");
    folder.write("masters.ini", "; nothing here\r\n\r\nnot a master!\r\n");
    EXPECT_EQ(texts(loadMasters()), texts(defaultMasters()));
}

TEST(MastersFile, LinesInOrderNotesAndBadLinesLeftOut) {
    TempProgramFolder folder;
    folder.write("masters.ini",
                 "# mine first\r\n  master.example.org:28905  \r\n127.0.0.1\r\nhost:0\r\nhost:99999\r\n"
                 "spaced name:28900\r\n10.0.0.1:28900\n");
    EXPECT_EQ(texts(loadMasters()),
              QStringList({"master.example.org:28905", "127.0.0.1:28900", "10.0.0.1:28900"}));
}

TEST(MastersFile, DefaultsWrittenOnlyWhenThereIsNoFile) {
    TempProgramFolder folder;
    ASSERT_TRUE(writeDefaultMastersIfMissing());
    EXPECT_EQ(texts(loadMasters()), texts(defaultMasters()));
    EXPECT_TRUE(folder.read("masters.ini").contains("master.333networks.com:28900\r\n"));
    folder.write("masters.ini", "127.0.0.1:28900\r\n");
    ASSERT_TRUE(writeDefaultMastersIfMissing());
    EXPECT_EQ(folder.read("masters.ini"), "127.0.0.1:28900\r\n");
}
