// `vyrn --query`: arguments, exit codes and the printed results, against stand-ins.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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
    const int code = runQueryCommand(QStringList{"--query"} + arguments);
    return {code,
            QString::fromStdString(testing::internal::GetCapturedStdout()).split('\n', Qt::SkipEmptyParts)};
}
}  // namespace

TEST(QueryCommand, BadArgumentsExitWithTwoAndSayWhy) {
    for (const char* args :
         {"", "--timeout x 127.0.0.1:7778", "127.0.0.1", "127.0.0.1:99999", "127.0.0.1:7778:UT9",
          "--bogus 127.0.0.1:7778", "--file /nonexistent/servers.ini", "--timeout"}) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(run(QString(args).split(' ', Qt::SkipEmptyParts)).code, 2) << args;
        EXPECT_FALSE(testing::internal::GetCapturedStderr().empty()) << args;
    }
    EXPECT_TRUE(isQueryCommand({"--master", "--query"}));
    EXPECT_FALSE(isQueryCommand({"-query"}));
}

// Lines in the order given, control characters replaced; a silent server makes it exit 1.
TEST(QueryCommand, JsonOrTextLinesInTheOrderGiven) {
    StandinProcess ut({"--game", "ut", "--name", "Text \a\bBell", "--delay-ms", "30"});
    StandinProcess ut2004({"--game", "ut2004", "--password", "1", "--mutators", "MutA,MutB"});
    ASSERT_TRUE(ut.ready());
    ASSERT_TRUE(ut2004.ready());
    const SilentPorts silent;
    const int port = ut.port();
    const Printed r = run({"--json", "--timeout", "1500", ut2004.address() + ":UT3",
                           QStringLiteral("127.0.0.1:%1").arg(silent.port()), ut.address() + ":ut"});
    EXPECT_EQ(r.code, 1);
    ASSERT_EQ(r.lines.size(), 3);
    QJsonObject json[3];
    for (int i = 0; i < 3; ++i) json[i] = QJsonDocument::fromJson(r.lines[i].toUtf8()).object();
    EXPECT_EQ(json[0]["game"].toString(), "UT2004");
    EXPECT_TRUE(json[0]["password"].toBool());
    EXPECT_EQ(json[0]["rules"].toObject()["Mutator"].toArray(), (QJsonArray{"MutA", "MutB"}));
    EXPECT_EQ(json[0]["hostPort"].toInt(), ut2004.port() - 10);
    EXPECT_FALSE(json[1]["ok"].toBool());
    EXPECT_EQ(json[1]["error"].toString(), "no reply");
    EXPECT_GE(json[2]["ping"].toInt(), 30);  // the reply's own delay, not the whole wait
    EXPECT_LT(json[2]["ping"].toInt(), 1000);

    TempProgramFolder folder;
    folder.write("servers.ini", " 127.0.0.1 : " + QByteArray::number(port) + " : UT \r\n\r\n" +
                                    ut2004.address().toLatin1() + ":UT3\r\n");
    const Printed text = run({"--file", folder.file("servers.ini")});
    EXPECT_EQ(text.code, 0);
    ASSERT_EQ(text.lines.size(), 2);
    const QString& line = text.lines[0];
    EXPECT_TRUE(line.startsWith(QStringLiteral("127.0.0.1:%1 ").arg(port)) && line.contains("UT     00/16") &&
                line.contains(" Text ??Bell"))
        << line.toStdString();
}
