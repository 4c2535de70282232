// `vyrn --query` and `vyrn --history`: arguments, exit codes and the printed results, against stand-ins.
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

#include "app/HistoryCommand.h"
#include "app/QueryCommand.h"
#include "support/StandinProcess.h"
#include "support/TestSupport.h"

namespace {
struct Printed {
    int code = -1;
    QStringList lines;
    QString error;
};

Printed run(const QStringList& arguments) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = arguments.contains("--history") ? runHistoryCommand(arguments)
                                                     : runQueryCommand(QStringList{"--query"} + arguments);
    const QString out = QString::fromStdString(testing::internal::GetCapturedStdout());
    return {code, out.split('\n', Qt::SkipEmptyParts),
            QString::fromStdString(testing::internal::GetCapturedStderr())};
}
}  // namespace

// Addresses as inet_aton reads them (1.2.3 as 1.2.0.3, 010.0.0.1 as 8.0.0.1) are refused
// with the text named, in "servers.ini" by its line number.
TEST(QueryCommand, BadArgumentsExitWithTwoAndSayWhy) {
    TempProgramFolder folder;
    folder.write("servers.ini", "127.0.0.1:7778:UT3\r\n\r\njunk line\r\n");
    const std::pair<QString, const char*> cases[] = {
        {"", "no servers given"},
        {"--timeout x 127.0.0.1:7778", "not a whole number"},
        {"--timeout 0 127.0.0.1:7778", "--timeout 0: no server can answer in no time"},
        {"127.0.0.1", "no query port"},
        {"127.0.0.1:99999", "no query port"},
        {"127.0.0.1:7778:UT9", "\"127.0.0.1:7778:UT9\" names no game"},
        {"1.2.3:7778", "\"1.2.3\" is not an address"},
        {"010.0.0.1:7778", "\"010.0.0.1\" is not an address"},
        {"1.2.3.256:7778", "is not an address"},
        {"0x7f.0.0.1:7778", "is not an address"},
        {"[::1]:7778", "IPv6 address; VYRN queries servers over IPv4"},
        {"fe80::1:7778:UT3", "IPv6 address"},
        {"--bogus 127.0.0.1:7778", "unknown option: --bogus"},
        {"--file /nonexistent/servers.ini", "no such file"},
        {"--file " + folder.file("servers.ini"), "servers.ini line 3: \"junk line\" is not an address"},
        {"--timeout", "needs a value"},
        {"--history", "no server given"},
        {"--history --days", "--days needs a value"},
        {"--history --days 0 127.0.0.1:7778", "--days 0: not a whole number of days from 1 to 366"},
        {"--history --days 367x 127.0.0.1:7778", "--days 367x: not"},
        {"--history 127.0.0.1:7778 127.0.0.1:7779", "one server at a time: \"127.0.0.1:7779\" is a second"},
        {"--history 010.0.0.1:7778:UT9", "\"010.0.0.1\" is not an address"}};
    for (const auto& [args, why] : cases) {
        const Printed r = run(args.split(' ', Qt::SkipEmptyParts));
        EXPECT_EQ(r.code, 2) << args.toStdString();
        EXPECT_TRUE(r.error.contains(why)) << why;
    }
    EXPECT_TRUE(isQueryCommand({"--master", "--query"}));
    EXPECT_FALSE(isQueryCommand({"-query"}));
}

// The program itself: no window for a mistyped option, and none needed to say how it is
// used; a server that always answers in part does not keep it running.
TEST(QueryCommand, ProgramAnswersWithoutADisplay) {
    StandinProcess partial({"--game", "ut", "--player-count", "12", "--split", "200", "--drop", "2"});
    ASSERT_TRUE(partial.ready());
    const QString port = QString::number(partial.port());
    const std::tuple<QString, int, const char*> cases[] = {
        {"--help", 0, "usage: vyrn "},
        {"--version", 0, "VYRN 3.0"},
        {"--qurey 127.0.0.1:7778", 2, "unknown argument: --qurey\nusage: vyrn "},
        {"--histroy", 2, "unknown argument: --histroy"},
        {"--history --days 0 127.0.0.1:7778", 2, "--days 0: not a whole number"},
        {"--query --timeout 0 127.0.0.1:7778", 2, "--timeout 0: no server can answer in no time"},
        {"--master --timeout 100", 2, "--timeout is the wait for each server's reply, so it needs --query"},
        {"--query --timeout 300 127.0.0.1:" + port, 1, "incomplete reply"}};
    for (const auto& [args, code, seen] : cases) {
        QProcess vyrn;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
        vyrn.setProcessEnvironment(env);
        vyrn.start(VYRN_EXECUTABLE, args.split(' '));
        EXPECT_TRUE(vyrn.waitForFinished(5000)) << args.toStdString();
        vyrn.kill();
        EXPECT_EQ(vyrn.exitCode(), code) << args.toStdString();
        EXPECT_TRUE((vyrn.readAllStandardOutput() + vyrn.readAllStandardError()).contains(seen)) << seen;
    }
}

namespace {
// The value at a path of keys and indexes ("players.1.name") of a JSON object.
QJsonValue at(const QJsonObject& o, const char* path) {
    QJsonValue v = o;
    for (const QString& step : QString(path).split('.')) {
        bool index = false;
        const int i = step.toInt(&index);
        v = index ? v.toArray().at(i) : v.toObject().value(step);
    }
    return v;
}
}  // namespace

// Each shape a server may send, against a stand-in sending it; every line read back with
// a JSON parser. Fields keep their types, control characters never reach the terminal,
// and a server that always answers in part is asked twice and reported.
TEST(QueryCommand, ReplyShapesReadAsTheServerMeantThem) {
    using Expect = std::vector<std::pair<const char*, QJsonValue>>;
    const QJsonValue absent(QJsonValue::Undefined);
    const std::tuple<const char*, const char*, Expect> shapes[] = {
        {"--game ut2004 --players A,final,B,C --split 120",
         "UT3",
         {{"numPlayers", 4}, {"players.1.name", "final"}, {"players.3.name", "C"}}},
        {"--game ut --name final --player-count 3 --split 150",
         "UT",
         {{"hostName", "final"},
          {"players.2.name", "Player3"},
          {"rules.gamemode", "openplaying"},
          {"rules.location", "0"},
          {"rules.openplaying", absent}}},
        {"--game ut --player-count 6 --split 90 --cut-fields",
         "UT",
         {{"hostName", "VYRN Stand-in"}, {"map", "Deck16][ (DM-Deck16][)"}, {"players.5.name", "Player6"}}},
        {"--game ut2004 --admin Łukasz --mutators MutA,MutB --password 1",
         "UT3",
         {{"game", "UT2004"},
          {"password", true},
          {"rules.AdminName", "Łukasz"},
          {"rules.AdminEmail", "admin@example.com"},
          {"rules.Mutator", QJsonArray{"MutA", "MutB"}}}},
        {"--game ut2004 --name-hex 476f6c641bffd7", "UT3", {{"hostName", "Gold"}}},  // a cut colour code
        {"--game ut2004 --name-hex 476f6c641b", "UT3", {{"hostName", "Gold"}}},      // a lone ESC
        {"--game ut --name-hex 41000042", "UT", {{"hostName", QString::fromLatin1("A\0\0B", 4)}}},
        {"--game ut --dangling-key --map=",
         "UT",
         {{"map", ""}, {"maxPlayers", 16}, {"rules.dangling", absent}}},
        {"--game ut --player-count 12 --split 200 --drop 2",
         "UT",
         {{"ok", false}, {"error", "incomplete reply"}}},
        {"--game ut --utf8 --name Café --players José",
         "UT",
         {{"hostName", "Café"}, {"players.0.name", "José"}}},
        {"--game ut --name Café --players José", "UT", {{"hostName", "Café"}, {"players.0.name", "José"}}},
        {"--game ut --name-hex 526564c29b33316d07", "UT", {{"hostName", "Red\u009b31m\u0007"}}},
        {"--game ut2003 --gamename ut2d", "UT", {{"game", "UT2003"}}},
        {"--game ut2003", "UT", {{"game", "UT2003"}}},
        {"--game ut --password=-1", "UT", {{"password", false}}},
        {"--game ut --password=True --announce 5 --player-count 2",
         "UT",
         {{"password", true}, {"numPlayers", 5}, {"players.1.name", "Player2"}}},
        {"--game ut2004 --announce 5 --player-count 2", "UT3", {{"numPlayers", 5}, {"players.2", absent}}},
        {"--game ut --delay-ms 3000", "UT", {{"ok", false}, {"error", "no reply"}}}};
    TempProgramFolder folder;
    const QString record = folder.file("answers");
    std::vector<std::unique_ptr<StandinProcess>> servers;
    QStringList targets{"--json", "--timeout", "400"};
    for (int i = 0; i < int(std::size(shapes)); ++i) {
        servers.push_back(std::make_unique<StandinProcess>(QString(std::get<0>(shapes[i])).split(' ') +
                                                           QStringList{"--record", record}));
        ASSERT_TRUE(servers.back()->ready()) << std::get<0>(shapes[i]);
        targets << servers.back()->address() + ':' + std::get<1>(shapes[i]);
    }
    const Printed r = run(targets);
    EXPECT_EQ(r.code, 1);                                     // some did not answer
    ASSERT_EQ(r.lines.size(), qsizetype(std::size(shapes)));  // in the order given
    for (int i = 0; i < int(std::size(shapes)); ++i) {
        const auto& [options, code, expect] = shapes[i];
        SCOPED_TRACE(options);
        for (const QChar c : r.lines[i])
            EXPECT_FALSE(c < QChar(0x20) || (c >= QChar(0x7f) && c < QChar(0xa0)));
        const QJsonObject json = QJsonDocument::fromJson(r.lines[i].toUtf8()).object();
        for (const char* number : {"numPlayers", "maxPlayers", "ping", "hostPort"})
            EXPECT_TRUE(json["ok"].toBool() ? json[number].isDouble() || json[number].isNull() : true)
                << number;
        if (json["ok"].toBool()) {
            EXPECT_EQ(json["hostPort"].toInt(),
                      servers[i]->port() - (QString(options).contains("ut2") ? 10 : 1));
        }
        for (const auto& [path, value] : expect) EXPECT_EQ(at(json, path), value) << path;
    }
    // Asked once more, then reported.
    QFile answers(record);
    ASSERT_TRUE(answers.open(QIODevice::ReadOnly));
    EXPECT_EQ(answers.readAll().count("status " + QByteArray::number(servers[8]->port()) + ' '), 2);
    // As text, from a file with blanks around the fields.
    folder.write("servers.ini", " 127.0.0.1 : " + QByteArray::number(servers[11]->port()) + " : UT \r\n\r\n");
    const Printed text = run({"--file", folder.file("servers.ini")});
    EXPECT_EQ(text.code, 0);
    ASSERT_EQ(text.lines.size(), 1);
    EXPECT_TRUE(text.lines[0].startsWith(QStringLiteral("127.0.0.1:%1 ").arg(servers[11]->port())) &&
                text.lines[0].contains("UT     00/16") && text.lines[0].contains(" Red?31m?  ["))
        << text.lines[0].toStdString();
}

// What the store kept, read back: the hours before the first sample, then the samples, in
// the user's time zone (one half an hour off UTC); no file is made when there is none.
TEST(QueryCommand, HistoryPrintsTheSamplesAndTheHoursBeforeThem) {
    const QByteArray tz = qgetenv("TZ");
    qputenv("TZ", "Asia/Kolkata");
    TempProgramFolder folder;
    EXPECT_TRUE(run({"--history", "127.0.0.1:7778:UT3"}).error.contains("no history yet"));
    EXPECT_FALSE(folder.exists("history.sqlite"));
    const qint64 now = QDateTime::currentSecsSinceEpoch(), hour = (now - 8 * 86400) / 3600 * 3600;
    HistoryStore store;
    ASSERT_TRUE(store.open(folder.file("history.sqlite")).ok());
    const qint64 times[] = {hour + 60, hour + 120, hour + 180, now - 90, now - 30},
                 epochs[] = {hour, now - 90, now - 30};
    const int players[] = {5, 7, 6, 5, 0}, pings[] = {40, 60, 50, 40, 45};
    QList<HistorySample> samples;
    for (int i = 0; i < 5; ++i)
        samples << HistorySample{
            {"127.0.0.1", 7778, "UT3"}, "", times[i], players[i], 16, "DM-1", "DM", pings[i], {}};
    samples.last().players.reset();
    ASSERT_TRUE(store.add(samples) && store.compact(now));
    const Printed json = run({"--history", "--json", "--days", "9", "127.0.0.1:7778:ut3"});
    const QString expected[] = {
        R"({"kind":"hour","epoch":%1,"mostPlayers":7,"maxPlayers":16,"medianPing":50,"samples":3,"game":"UT2004"})",
        R"({"kind":"sample","epoch":%1,"players":5,"maxPlayers":16,"map":"DM-1","gameType":"DM","ping":40})",
        R"({"kind":"sample","epoch":%1,"players":null,"address":"127.0.0.1","queryPort":7778})"};
    ASSERT_EQ(json.lines.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QJsonObject o = QJsonDocument::fromJson(json.lines[i].toUtf8()).object();
        const QJsonObject want = QJsonDocument::fromJson(expected[i].arg(epochs[i]).toUtf8()).object();
        for (const QString& key : want.keys()) EXPECT_EQ(o[key], want[key]) << i << key.toStdString();
        EXPECT_TRUE(json.lines[i].startsWith("{\"kind\":\"" + o["kind"].toString() + "\",\"address\":"));
        EXPECT_TRUE(o["time"].toString().endsWith("+05:30"));
        EXPECT_EQ(QDateTime::fromString(o["time"].toString(), Qt::ISODate).toSecsSinceEpoch(),
                  o["epoch"].toInteger());
    }
    const auto at = [](qint64 t) { return QDateTime::fromSecsSinceEpoch(t).toString("yyyy-MM-dd HH:mm:ss"); };
    EXPECT_EQ(run({"--history", "127.0.0.1:7778:UT3"}).lines,  // the last day: no hours
              QStringList({"Every sample kept:", at(now - 90) + "  05/16    40 ms  DM             [DM-1]",
                           at(now - 30) + "  --/16    45 ms  DM             [DM-1]"}));
    EXPECT_TRUE(run({"--history", "127.0.0.1:7778"})
                    .error.contains(":7778:UT in the last day; there is some of 127.0.0.1:7778:UT3"));
    tz.isNull() ? qunsetenv("TZ") : qputenv("TZ", tz);
}

// `--query --record` adds each server that answered, once; it waits for a writer holding
// the file, names a damaged file it set aside, and says why it wrote nothing on a full
// disk, the exit code staying the query's.
TEST(QueryCommand, RecordAddsTheRepliesToTheHistory) {
    TempProgramFolder folder;
    StandinProcess standin({"--game", "ut2004", "--players", "A,B"});
    ASSERT_TRUE(standin.ready());
    SilentPorts silent;
    const QString server = standin.address() + ":UT3",
                  quiet = QStringLiteral("127.0.0.1:%1").arg(silent.port());
    folder.write("history.sqlite", QByteArray(4096, 'x'));
    const Printed first = run({"--timeout", "300", "--record", server, server, quiet});
    EXPECT_TRUE(first.code == 1 && first.error.contains(" was damaged; it is kept as "))
        << first.error.toStdString();
    QSemaphore holding;
    std::thread writer([&] {
        auto db = QSqlDatabase::addDatabase("QSQLITE", "writer");
        db.setDatabaseName(folder.file("history.sqlite"));
        if (db.open() && QSqlQuery(db).exec("BEGIN IMMEDIATE")) holding.release();
        QThread::msleep(800);
        QSqlQuery(db).exec("COMMIT");
        db.close();
    });
    EXPECT_TRUE(holding.tryAcquire(1, 2000));
    EXPECT_EQ(run({"--record", server}).error, "");
    writer.join();
    QSqlDatabase::removeDatabase("writer");
    {
        FileSizeLimit disk(1024);
        const Printed full = run({"--record", server});
        EXPECT_TRUE(full.code == 0 && full.error.contains("vyrn: history not written: "))
            << full.error.toStdString();
    }
    const Printed printed = run({"--history", "--json", server});
    ASSERT_EQ(printed.lines.size(), 2);
    EXPECT_EQ(QJsonDocument::fromJson(printed.lines[1].toUtf8())["players"], 2);
    EXPECT_EQ(run({"--history", quiet}).code, 1);
}
