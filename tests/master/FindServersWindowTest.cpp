// The "Find Servers" window on the offscreen platform, against stand-in masters and
// stand-in game servers on loopback.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <gtest/gtest.h>

#include "support/StandinProcess.h"
#include "support/TestSupport.h"
#include "master/FindServersWindow.h"
#include "query/MainGrids.h"
#include "state/FavouritesFiles.h"
#include "support/GameInstalls.h"
#include "state/ProgramFolder.h"

namespace {
// Each row's texts in the given columns, joined by "|".
QStringList rows(const QAbstractItemModel* m, std::initializer_list<int> columns) {
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c : columns) cells << m->index(r, c).data().toString();
        out << cells.join('|');
    }
    return out;
}

// A UT stand-in with the given players.
QStringList ut(const char* name, const char* players, const char* max, QStringList more = {}) {
    return QStringList{"--game", "ut", "--name", name, "--players", players, "--max-players", max} + more;
}
}  // namespace

TEST(FindServersWindow, ListFiltersSortsFindsBuddiesAndAddsOnlyWhatIsAsked) {
    TempProgramFolder folder;
    folder.write("buddies.ini", "Bob\r\n**bob**\r\nalice\r\nNobody\r\n");
    MainState s;
    setUpServerGrid(s);
    setUpBuddyGrid(s);
    loadServerList(s);
    loadBuddyList(s);
    const StandinProcess full(ut("Full House", "xBOBx,Carol", "2", {"--gametype", "CTFGame"}));
    const StandinProcess busy(ut("Busy DM", "bob,Alice,Dave", "16", {"--password", "True"}));
    const StandinProcess empty(ut("Empty DM", "", "16"));
    const SilentPorts quiet;
    // The fourth listed server does not answer; the first master sends no list.
    MasterStandin garbage({"--fault", "garbage"});
    const QStringList listed = {QString::number(full.port()), QString::number(busy.port()),
                                QString::number(empty.port()), QString::number(quiet.port())};
    MasterStandin master({"--servers", "0", "--list-ports", listed.join(',')});
    for (const StandinProcess* p :
         std::initializer_list<const StandinProcess*>{&full, &busy, &empty, &garbage, &master})
        ASSERT_TRUE(p->ready());

    FindServersWindow w(s, {{"127.0.0.1", quint16(garbage.port())}, {"127.0.0.1", quint16(master.port())}},
                        nullptr);
    w.show();
    const auto shownNames = [&] { return rows(w.serverTable()->model(), {int(FoundColumn::Server)}); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.listing() && !w.querying(); }, 15000));
    while (!w.model().settled()) w.model().flush();
    EXPECT_TRUE(w.statusText().startsWith("4 servers, 3 answered")) << w.statusText().toStdString();
    const QString notes = w.findChild<QPlainTextEdit*>("masterNotes")->toPlainText();
    EXPECT_TRUE(notes.contains(garbage.address() + ": sent something that is not a server list"))
        << notes.toStdString();

    auto* notEmpty = w.findChild<QCheckBox*>("notEmpty");
    auto* notFull = w.findChild<QCheckBox*>("notFull");
    auto* noPassword = w.findChild<QCheckBox*>("noPassword");
    auto* nameContains = w.findChild<QLineEdit*>("nameContains");
    w.findChild<QComboBox*>("gameType")->setCurrentIndex(1);  // the game types sorted: CTF first
    EXPECT_EQ(shownNames(), QStringList({"Full House"}));
    w.findChild<QComboBox*>("gameType")->setCurrentIndex(0);
    notEmpty->setChecked(true);
    EXPECT_EQ(shownNames(), QStringList({"Full House", "Busy DM"}));
    notFull->setChecked(true);
    EXPECT_EQ(shownNames(), QStringList({"Busy DM"}));
    noPassword->setChecked(true);
    EXPECT_TRUE(shownNames().isEmpty());
    for (QCheckBox* box : {notEmpty, notFull, noPassword}) box->setChecked(false);
    nameContains->setText("dm");
    EXPECT_EQ(shownNames(), QStringList({"Busy DM", "Empty DM"}));
    nameContains->clear();

    // A click on "Players" sorts by the count, a second the other way; the silent server
    // stays last both ways.
    const QString silent = QStringLiteral("127.0.0.1:%1").arg(quiet.port());
    QHeaderView* header = w.serverTable()->horizontalHeader();
    const QPoint players(header->sectionViewportPosition(int(FoundColumn::Players)) + 5, 5);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, players);
    EXPECT_EQ(shownNames(), QStringList({"Empty DM", "Full House", "Busy DM", silent}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, players);
    EXPECT_EQ(shownNames(), QStringList({"Busy DM", "Full House", "Empty DM", silent}));

    // Each player goes to the first entry that matches: "bob" to Bob, xBOBx to the pattern.
    notFull->setChecked(true);
    nameContains->setText("Full");
    QTest::mouseClick(w.findChild<QPushButton*>("findBuddies"), Qt::LeftButton);
    QTableWidget* b = w.buddyTable();
    ASSERT_EQ(rows(b->model(), {0, 1, 2}),
              QStringList({"Bob|bob|Busy DM", "**bob**|xBOBx|Full House", "alice|Alice|Busy DM"}));
    // "Busy DM" is hidden by the name filter; the click shows it and selects it.
    QTest::mouseClick(b->viewport(), Qt::LeftButton, {}, b->visualItemRect(b->item(0, 1)).center());
    const QModelIndexList selected =
        w.serverTable()->selectionModel()->selectedRows(int(FoundColumn::Server));
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0].data().toString(), "Busy DM");
    // Enter on a row selects it, in the buddies as in the list.
    b->setCurrentCell(1, 1);
    QTest::keyClick(b, Qt::Key_Return);
    EXPECT_EQ(w.serverTable()->selectionModel()->selectedRows(int(FoundColumn::Server))[0].data(),
              "Full House");
    QTableView* list = w.serverTable();
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);  // its game port, one below the query port
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("127.0.0.1:%1").arg(full.port() - 1));
    // The row's menu: its information, and Launch hands its game, address and game port on.
    QStringList launched;
    w.launchRequested = [&](const QString& code, const QString& address, const QString& port) {
        launched << code << address << port;
    };
    const auto action = [&](const char* text) {
        for (QAction* a : list->actions())
            if (a->text() == text) return a;
        return static_cast<QAction*>(nullptr);
    };
    action("Copy information")->trigger();
    EXPECT_TRUE(
        QGuiApplication::clipboard()->text().contains(QString("Server: Full House\r\nPlayers: 02/02")))
        << QGuiApplication::clipboard()->text().toStdString();
    action("Launch")->trigger();
    EXPECT_EQ(launched, QStringList({"UT", "127.0.0.1", QString::number(full.port() - 1)}));
    list->selectionModel()->setCurrentIndex(list->model()->index(0, 0), QItemSelectionModel::NoUpdate);
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_EQ(list->selectionModel()->selectedRows(int(FoundColumn::Server))[0].data(),
              list->model()->index(0, int(FoundColumn::Server)).data());
    EXPECT_FALSE(folder.exists("servers.ini"));

    // "Add to favourites" takes the servers of the buddies picked, after the list refreshed,
    // each once, and a second time nothing.
    pumpEvents(600);
    b->selectAll();
    auto* add = w.findChild<QPushButton*>("addFavourites");
    QTest::mouseClick(add, Qt::LeftButton);
    const QByteArray added = (busy.address() + ":UT\r\n" + full.address() + ":UT\r\n").toLatin1();
    EXPECT_EQ(folder.read("servers.ini"), added);
    EXPECT_EQ(s.serverGrid.rowCount(), 3);
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(folder.read("servers.ini"), added);
    EXPECT_TRUE(w.statusText().endsWith("Already in the favourites.")) << w.statusText().toStdString();
}

// UT2004: with no key on this computer it is asked for once and, on request, remembered
// for the user alone; rows show the master's names at once and keep them while the
// servers stay silent; a favourite takes the game port + 10 and "UT3".
TEST(FindServersWindow, Ut2004ListWithTheKeyAskedOnceAndRemembered) {
    TempProgramFolder folder;
    GameInstalls installs;
    ScriptedPrompter prompts;
    prompts.inputs = {QString("abcde-fghij-klmno-pqrst")};
    prompts.answers = {MsgAnswer::Yes};
    MainState s;
    setUpServerGrid(s);
    setUpBuddyGrid(s);
    const SilentPorts silent(12);  // the listed servers' game and query ports
    const int gamePort = silent.port();
    Ut2MasterStandin master(
        {"--cdkey", "ABCDE-FGHIJ-KLMNO-PQRST", "--servers", "2", "--list-port", QString::number(gamePort)});
    ASSERT_TRUE(master.ready());
    FindServersWindow w(s, {}, nullptr);
    w.setMasters(Game::UT2004, {{"127.0.0.1", quint16(master.port())}});
    w.show();
    w.chooseGames({Game::UT2004});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.listing() && !w.querying(); }, 15000));
    while (!w.model().settled()) w.model().flush();
    EXPECT_EQ(rows(w.serverTable()->model(),
                   {int(FoundColumn::Server), int(FoundColumn::Players), int(FoundColumn::Game)}),
              QStringList({"Stand-in 1|00/16|UT2004", "Stand-in 2|01/16|UT2004"}));
    ASSERT_EQ(prompts.asked.size(), 1);
    const QFileInfo remembered(folder.file("cdkey-ut2004"));
    EXPECT_EQ(folder.read("cdkey-ut2004"), "ABCDE-FGHIJ-KLMNO-PQRST\r\n");
    EXPECT_EQ(remembered.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup), 0);
    w.serverTable()->selectRow(1);
    QTest::mouseClick(w.findChild<QPushButton*>("addFavourites"), Qt::LeftButton);
    EXPECT_EQ(folder.read("servers.ini"), "127.0.0.1:" + QByteArray::number(gamePort + 11) + ":UT3\r\n");

    // All three games: UT2004's key is known now; UT2003's is asked for once, and without
    // it UT2003's masters are left alone.
    w.chooseGames({Game::UT, Game::UT2003, Game::UT2004});
    w.refresh();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.listing(); }, 15000));
    EXPECT_EQ(prompts.asked.size(), 2);
    EXPECT_TRUE(w.findChild<QPlainTextEdit*>("masterNotes")
                    ->toPlainText()
                    .contains("UT2003: no CD key, so its masters were not asked."));
    for (const Message& m : prompts.shown) EXPECT_FALSE(m.text.contains("FGHIJ", Qt::CaseInsensitive));
}

// A long path in the status is cut, never widening the window past the screen; its tooltip is whole.
TEST(FindServersWindow, LongStatusIsCutWithTheWholeTextInItsTooltip) {
    TempProgramFolder folder;
    const QString deep = folder.path() + QString("/%1").arg(QString(200, 'd')).repeated(6);
    setProgramFolder(deep);
    MainState s;
    FindServersWindow w(s, {}, nullptr);
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.statusText().contains(deep); }, 5000));
    QApplication::processEvents();
    EXPECT_LE(w.minimumSizeHint().width(), QGuiApplication::primaryScreen()->availableGeometry().width());
    EXPECT_TRUE(w.findChild<QWidget*>("status")->toolTip().contains(QString(200, 'd')));
    setProgramFolder(folder.path());
}
