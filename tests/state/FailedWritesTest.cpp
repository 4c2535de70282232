// A write that fails half-way (a full disk) leaves every file VYRN writes whole, and
// nothing is reported as saved that was not.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <optional>

#include "query/PlayersAndBuddies.h"
#include "settings/SettingsValues.h"
#include "state/FavouritesFiles.h"
#include "support/GridFiles.h"
#include "support/TestSupport.h"

namespace {
const QByteArray kServers = "10.0.0.1:7778:UT3\r\n10.0.0.2:7778:UT\r\n";
const QByteArray kBuddies = "Bob\r\nAlice\r\n";
const QByteArray kConfig = "/ut\r\n/ut2003\r\n/ut2004\r\n1\r\n 2 \r\nTrue\r\n/f\r\n/d\r\n";

struct Files {
    TempProgramFolder folder;
    std::optional<LoadedMainWindow> main;
    Files() {
        folder.write("servers.ini", kServers);
        folder.write("buddies.ini", kBuddies);
        folder.write("vyrn.ini", kConfig);
        main.emplace();
        // Enough text that every file outgrows the limit.
        main->s.ServerGrid.setTextMatrix(1, 2, QString(2000, 'a'));
    }
    void expectUnchanged() {
        EXPECT_EQ(folder.read("servers.ini"), kServers);
        EXPECT_EQ(folder.read("buddies.ini"), kBuddies);
        EXPECT_EQ(folder.read("vyrn.ini"), kConfig);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 3);  // no temporaries left
    }
};
}  // namespace

TEST(FailedWrites, PlayerClickTellsTheUserAndKeepsTheBuddies) {
    Files f;
    f.main->s.Flex.setTextMatrix(1, 0, QString(2000, 'P'));
    f.main->s.Flex.setMouseCell(1, 0);
    FlexClickResult result;
    {
        FileSizeLimit disk(16);
        result = Flex_Click(f.main->s);
    }
    f.expectUnchanged();
    EXPECT_EQ(result.what, FlexClickResult::What::BuddyNotSaved);
    EXPECT_TRUE(buddyNotSavedText(result.name).contains("was not added"));
    EXPECT_EQ(f.main->s.BudList.Rows(), 3);  // Bob and Alice, as before
}

TEST(FailedWrites, SettingsSaveNamesEveryFileItCouldNotWrite) {
    Files f;
    SettingsValues v;
    v.paths[0] = QString(2000, 'u');
    FlexGrid servers(2, 4);
    servers.setTextMatrix(1, 1, QString(2000, 'x'));
    FlexGrid buddies(2, 1);
    buddies.setTextMatrix(1, 0, QString(2000, 'b'));
    QStringList failed;
    {
        FileSizeLimit disk(16);
        for (const SaveResult& r : SaveSettings(v, servers, buddies, appConfig()))
            failed << QFileInfo(r.path).fileName() + ": " + r.reason;
    }
    EXPECT_EQ(failed, (QStringList{"servers.ini: File too large", "vyrn.ini: File too large",
                                   "buddies.ini: File too large"}));
    f.expectUnchanged();
}
