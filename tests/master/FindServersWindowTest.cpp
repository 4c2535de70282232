// The "Find Servers" window on the offscreen platform, against the stand-in master and
// stand-in game servers on loopback.
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "MasterStandin.h"
#include "master/FrmFindServers.h"
#include "query/MainGrids.h"
#include "state/FavouritesFiles.h"

namespace {
struct Fixture {
    TempProgramFolder folder;
    MainState s;
    Fixture() {
        SetupServerGrid(s);
        SetupBuddyGrid(s);
        LoadServerList(s);
    }
};

bool settled(FrmFindServers& w, int ms = 15000) {
    const bool done = pumpUntil([&] { return !w.listing() && !w.querying(); }, ms);
    while (!w.model().settled()) w.model().flush();
    return done;
}

QStringList shownNames(FrmFindServers& w) {
    QStringList names;
    const QAbstractItemModel* m = w.serverTable()->model();
    for (int r = 0; r < m->rowCount(); ++r) names << m->index(r, int(FoundColumn::Server)).data().toString();
    return names;
}

template <class T> T* child(FrmFindServers& w, const char* name) {
    return w.findChild<T*>(QString::fromLatin1(name));
}
}  // namespace

TEST(FindServersWindow, RowsFillFilterSortAndNothingIsAddedUnasked) {
    Fixture f;
    const int base = testPortBase(21);
    StandinProcess full({"--game", "ut", "--port", QString::number(base + 1), "--name", "Full House",
                         "--player-count", "8", "--max-players", "8", "--gametype", "CTFGame"});
    StandinProcess busy({"--game", "ut", "--port", QString::number(base + 2), "--name", "Busy DM",
                         "--player-count", "3", "--max-players", "16", "--password", "True"});
    StandinProcess empty({"--game", "ut", "--port", QString::number(base + 3), "--name", "Empty DM",
                          "--player-count", "0", "--max-players", "16"});
    // The fourth listed server does not answer.
    MasterStandin master(base, {"--servers", "4", "--list-port", QString::number(base + 1)});
    ASSERT_TRUE(full.ready() && busy.ready() && empty.ready() && master.ready());

    FrmFindServers w(f.s, {{"127.0.0.1", quint16(base)}}, nullptr);
    w.show();
    ASSERT_TRUE(settled(w));
    EXPECT_EQ(w.model().rowCount(), 4);
    EXPECT_EQ(w.model().answeredCount(), 3);
    EXPECT_TRUE(w.statusText().startsWith("4 servers, 3 answered")) << w.statusText().toStdString();

    child<QCheckBox>(w, "notEmpty")->setChecked(true);
    EXPECT_EQ(shownNames(w), QStringList({"Full House", "Busy DM"}));
    child<QCheckBox>(w, "notFull")->setChecked(true);
    EXPECT_EQ(shownNames(w), QStringList({"Busy DM"}));
    child<QCheckBox>(w, "noPassword")->setChecked(true);
    EXPECT_TRUE(shownNames(w).isEmpty());
    for (const char* box : {"notEmpty", "notFull", "noPassword"}) child<QCheckBox>(w, box)->setChecked(false);
    child<QLineEdit>(w, "nameContains")->setText("dm");
    EXPECT_EQ(shownNames(w), QStringList({"Busy DM", "Empty DM"}));
    child<QLineEdit>(w, "nameContains")->clear();

    // A click on "Players" sorts by the count, a second the other way; the silent server
    // stays last both ways.
    QHeaderView* header = w.serverTable()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(int(FoundColumn::Players)) + 5, 5));
    pumpEvents(50);
    EXPECT_EQ(shownNames(w).mid(0, 3), QStringList({"Empty DM", "Busy DM", "Full House"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(int(FoundColumn::Players)) + 5, 5));
    pumpEvents(50);
    EXPECT_EQ(shownNames(w).mid(0, 3), QStringList({"Full House", "Busy DM", "Empty DM"}));

    EXPECT_FALSE(f.folder.exists("servers.ini"));
    EXPECT_EQ(f.s.ServerGrid.Rows(), 2);
}

TEST(FindServersWindow, AddToFavouritesWritesTheFileAndTheMainGrid) {
    Fixture f;
    f.folder.write("servers.ini", "10.0.0.1:7778:UT3\r\n");
    SetupServerGrid(f.s);
    LoadServerList(f.s);
    const int base = testPortBase(31);
    StandinProcess servers({"--game", "ut", "--port", QString::number(base + 1), "--servers", "3", "--name", "Pick"});
    MasterStandin master(base, {"--servers", "3", "--list-port", QString::number(base + 1)});
    ASSERT_TRUE(servers.ready() && master.ready());
    FrmFindServers w(f.s, {{"127.0.0.1", quint16(base)}}, nullptr);
    w.show();
    ASSERT_TRUE(settled(w));
    w.serverTable()->selectRow(0);
    w.serverTable()->selectionModel()->select(w.serverTable()->model()->index(2, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::mouseClick(child<QPushButton>(w, "addFavourites"), Qt::LeftButton);
    const QByteArray expected = "10.0.0.1:7778:UT3\r\n127.0.0.1:" + QByteArray::number(base + 1) + ":UT\r\n127.0.0.1:" +
                                QByteArray::number(base + 3) + ":UT\r\n";
    EXPECT_EQ(f.folder.read("servers.ini"), expected);
    ASSERT_EQ(f.s.ServerGrid.Rows(), 4);
    EXPECT_EQ(f.s.ServerGrid.TextMatrix(3, 3), QString::number(base + 3));
    // Asked again, nothing is added twice.
    QTest::mouseClick(child<QPushButton>(w, "addFavourites"), Qt::LeftButton);
    EXPECT_EQ(f.folder.read("servers.ini"), expected);
    EXPECT_TRUE(w.statusText().endsWith("Already in the favourites.")) << w.statusText().toStdString();
}

TEST(FindServersWindow, FindMyBuddiesShowsWhereTheyPlayAndSelectsTheServer) {
    Fixture f;
    f.folder.write("buddies.ini", "Alice\r\n**bo**\r\nNobody\r\n");
    SetupBuddyGrid(f.s);
    LoadBuddyList(f.s);
    const int base = testPortBase(41);
    StandinProcess one({"--game", "ut", "--port", QString::number(base + 1), "--name", "First", "--players",
                        "Carol,xBOBx"});
    StandinProcess two({"--game", "ut", "--port", QString::number(base + 2), "--name", "Second", "--players",
                        "alice,Dave"});
    MasterStandin master(base, {"--servers", "2", "--list-port", QString::number(base + 1)});
    ASSERT_TRUE(one.ready() && two.ready() && master.ready());
    FrmFindServers w(f.s, {{"127.0.0.1", quint16(base)}}, nullptr);
    w.show();
    ASSERT_TRUE(settled(w));
    child<QCheckBox>(w, "notFull")->setChecked(true);
    child<QLineEdit>(w, "nameContains")->setText("First");
    QTest::mouseClick(child<QPushButton>(w, "findBuddies"), Qt::LeftButton);
    QTableWidget* b = w.buddyTable();
    ASSERT_EQ(b->rowCount(), 2);
    EXPECT_EQ(b->item(0, 0)->text() + "|" + b->item(0, 1)->text() + "|" + b->item(0, 2)->text(), "Alice|alice|Second");
    EXPECT_EQ(b->item(1, 0)->text() + "|" + b->item(1, 1)->text() + "|" + b->item(1, 2)->text(), "**bo**|xBOBx|First");
    // "Second" is hidden by the name filter; the click shows it and selects it.
    QTest::mouseClick(b->viewport(), Qt::LeftButton, {}, b->visualItemRect(b->item(0, 1)).center());
    const QModelIndexList selected = w.serverTable()->selectionModel()->selectedRows(int(FoundColumn::Server));
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].data().toString(), "Second");
    // "Add to favourites" takes the servers of the buddies picked, after the list refreshed.
    pumpEvents(600);
    b->selectAll();
    QTest::mouseClick(child<QPushButton>(w, "addFavourites"), Qt::LeftButton);
    EXPECT_EQ(f.folder.read("servers.ini"), "127.0.0.1:" + QByteArray::number(base + 2) + ":UT\r\n127.0.0.1:" +
                                                QByteArray::number(base + 1) + ":UT\r\n");
}

TEST(FindServersWindow, BadMastersAreNamedAndNothingIsAdded) {
    Fixture f;
    const int base = testPortBase(51);
    MasterStandin flood(base, {"--fault", "flood"});
    MasterStandin garbage(base + 1, {"--fault", "garbage"});
    ASSERT_TRUE(flood.ready() && garbage.ready());
    // The flood's 20,000 listed servers on 127.x.x.x are queried too; nothing answers. (How
    // long the event loop is held while a list fills is the benchmark's to measure.)
    FrmFindServers w(f.s, {{"127.0.0.1", quint16(base + 1)}, {"127.0.0.1", quint16(base)}}, nullptr);
    w.show();
    ASSERT_TRUE(pumpUntil([&] { return !w.listing(); }, 15000));
    w.close();
    const QString notes = child<QPlainTextEdit>(w, "masterNotes")->toPlainText();
    EXPECT_TRUE(notes.contains(garbage.address() + ": sent something that is not a server list")) << notes.toStdString();
    EXPECT_TRUE(notes.contains(flood.address() + ": sent more than 20000 servers")) << notes.toStdString();
    EXPECT_FALSE(f.folder.exists("servers.ini"));
}
