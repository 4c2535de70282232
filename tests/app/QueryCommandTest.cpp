// `vyrn --query`: arguments, exit codes and the printed results, against stand-ins.
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonArray>
#include <gtest/gtest.h>

#include "app/QueryCommand.h"
#include "support/StandinProcess.h"
#include "support/TestSupport.h"

namespace {
struct Printed {
    int code = -1;
    QStringList lines;
};

Printed run(const QStringList& arguments) {
    testing::internal::CaptureStdout();
    Printed r;
    r.code = runQueryCommand(QStringList{"--query"} + arguments);
    r.lines = QString::fromStdString(testing::internal::GetCapturedStdout()).split('\n', Qt::SkipEmptyParts);
    return r;
}

QJsonObject json(const QString& line) { return QJsonDocument::fromJson(line.toUtf8()).object(); }
}  // namespace

TEST(QueryCommand, BadArgumentsExitWithTwo) {
    const QStringList cases[] = {{},
                                 {"--timeout", "x", "127.0.0.1:7778"},
                                 {"127.0.0.1"},
                                 {"127.0.0.1:99999"},
                                 {"127.0.0.1:7778:UT9"},
                                 {"--bogus", "127.0.0.1:7778"},
                                 {"--file", "/nonexistent/servers.ini"},
                                 {"--timeout"}};
    for (const QStringList& args : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(run(args).code, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    }
    EXPECT_TRUE(isQueryCommand({"--master", "--query"}));
    EXPECT_FALSE(isQueryCommand({"-query"}));
}

TEST(QueryCommand, JsonLinesInTheOrderGivenAndExitOneWhenOneIsSilent) {
    const int port = testPortBase(1);
    StandinProcess ut(QStringList{"--game", "ut", "--port", QString::number(port), "--name", "Json UT",
                                  "--player-count", "2", "--delay-ms", "30"});
    StandinProcess ut2004(QStringList{"--game", "ut2004", "--port", QString::number(port + 10), "--players",
                                      "Alice,Bob", "--password", "1", "--mutators", "MutA,MutB"});
    ASSERT_TRUE(ut.ready() && ut2004.ready());
    const Printed r = run({"--json", "--timeout", "400", QStringLiteral("127.0.0.1:%1:UT3").arg(port + 10),
                       QStringLiteral("127.0.0.1:%1").arg(port + 5), QStringLiteral("127.0.0.1:%1:ut").arg(port)});
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.lines.size(), 3);
    const QJsonObject a = json(r.lines[0]), silent = json(r.lines[1]), b = json(r.lines[2]);
    EXPECT_EQ(a["game"].toString(), "UT2004");
    EXPECT_EQ(a["queryPort"].toInt(), port + 10);
    EXPECT_TRUE(a["ok"].toBool());
    EXPECT_TRUE(a["password"].toBool());
    EXPECT_EQ(a["numPlayers"].toInt(), 2);
    EXPECT_EQ(a["players"].toArray()[1].toObject()["name"].toString(), "Bob");
    EXPECT_EQ(a["rules"].toObject()["Mutator"].toArray(), (QJsonArray{"MutA", "MutB"}));
    EXPECT_EQ(a["hostPort"].toInt(), port);
    EXPECT_FALSE(silent["ok"].toBool());
    EXPECT_EQ(silent["error"].toString(), "no reply");
    EXPECT_EQ(silent["game"].toString(), "UT");
    EXPECT_EQ(b["hostName"].toString(), "Json UT");
    EXPECT_EQ(b["gameType"].toString(), "DEATHMATCHPLUS");
    EXPECT_GE(b["ping"].toInt(), 30);
    EXPECT_LT(b["ping"].toInt(), 130);
    EXPECT_EQ(b["rules"].toObject()["timelimit"].toString(), "20");
}

TEST(QueryCommand, FileOfFavouritesAsTextLines) {
    const int port = testPortBase(12);
    StandinProcess ut(QStringList{"--game", "ut", "--port", QString::number(port), "--servers", "2",
                                  "--name", "Text \x07\x08" "Bell"});
    ASSERT_TRUE(ut.ready());
    TempProgramFolder folder;
    folder.write("servers.ini", QStringLiteral(" 127.0.0.1 : %1 : UT \r\n\r\n127.0.0.1:%2:UT\r\n")
                                    .arg(port).arg(port + 1).toLatin1());
    const Printed r = run({"--file", folder.file("servers.ini")});
    EXPECT_EQ(r.code, 0);
    ASSERT_EQ(r.lines.size(), 2);
    EXPECT_TRUE(r.lines[0].startsWith(QStringLiteral("127.0.0.1:%1 ").arg(port))) << r.lines[0].toStdString();
    EXPECT_TRUE(r.lines[1].contains("UT     00/16")) << r.lines[1].toStdString();
    // A server's control characters never reach the terminal.
    EXPECT_TRUE(r.lines[1].contains("Text ??Bell 2")) << r.lines[1].toStdString();
}
