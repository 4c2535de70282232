// `vyrn --master` run as the user runs it, against the stand-in master; and the real
// client nobody here wrote, Debian's quakestat, reading the same stand-in.
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "MasterStandin.h"

namespace {
struct ProgramRun {
    int code = -1;
    QStringList out;
    QString err;
};

ProgramRun run(const QString& program, const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));  // the command line must need no display
    p.setProcessEnvironment(env);
    p.start(program, args);
    p.waitForFinished(30000);
    ProgramRun r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
}  // namespace

TEST(MasterCommand, PrintsTheListAndNamesTheMastersThatFailed) {
    const int base = testPortBase(11);
    MasterStandin refusing(base, {"--fault", "refuse"});
    MasterStandin good(base + 1, {"--servers", "3", "--list-port", "9100"});
    ASSERT_TRUE(refusing.ready() && good.ready());
    const ProgramRun r = run(VYRN_EXECUTABLE, {"--master", refusing.address(), good.address()});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringList({"127.0.0.1:9100", "127.0.0.1:9101", "127.0.0.1:9102"}));
    EXPECT_EQ(r.err.trimmed(), refusing.address() + ": refused the connection");

    const ProgramRun json = run(VYRN_EXECUTABLE, {"--master", "--json", "--game", "ut", good.address()});
    EXPECT_EQ(json.code, 0);
    ASSERT_EQ(json.out.size(), 3);
    const QJsonObject first = QJsonDocument::fromJson(json.out[0].toUtf8()).object();
    EXPECT_EQ(first.value("address").toString(), "127.0.0.1");
    EXPECT_EQ(first.value("queryPort").toInt(), 9100);
    EXPECT_EQ(first.value("game").toString(), "UT");
}

TEST(MasterCommand, QueryPrintsEachListedServerAsTheQueryCommandDoes) {
    const int base = testPortBase(14);
    StandinProcess servers({"--game", "ut", "--port", QString::number(base + 1), "--servers", "2", "--name", "Listed",
                            "--player-count", "3"});
    // The third listed server does not answer.
    MasterStandin master(base, {"--servers", "3", "--list-port", QString::number(base + 1)});
    ASSERT_TRUE(servers.ready() && master.ready());
    const ProgramRun r = run(VYRN_EXECUTABLE, {"--master", "--query", "--json", "--timeout", "500", master.address()});
    EXPECT_EQ(r.code, 1);  // not every server answered
    ASSERT_EQ(r.out.size(), 3) << r.err.toStdString();
    QStringList answered;
    for (const QString& line : r.out) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        EXPECT_EQ(o.value("game").toString(), "UT");
        answered << QStringLiteral("%1 %2 %3").arg(o.value("queryPort").toInt()).arg(o.value("ok").toBool() ? "true" : "false")
                        .arg(o.value("hostName").toString());
    }
    answered.sort();
    EXPECT_EQ(answered, QStringList({QStringLiteral("%1 true Listed 1").arg(base + 1),
                                     QStringLiteral("%1 true Listed 2").arg(base + 2),
                                     QStringLiteral("%1 false ").arg(base + 3)}));
    const ProgramRun text = run(VYRN_EXECUTABLE, {"--master", "--query", "--timeout", "500", master.address()});
    EXPECT_EQ(text.out.filter("no reply").size(), 1);
    EXPECT_EQ(text.out.filter("Listed").size(), 2);
}

TEST(MasterCommand, ExitCodes) {
    const int base = testPortBase(12);
    MasterStandin refusing(base, {"--fault", "refuse"});
    ASSERT_TRUE(refusing.ready());
    EXPECT_EQ(run(VYRN_EXECUTABLE, {"--master", refusing.address()}).code, 1);
    const ProgramRun ut2004 = run(VYRN_EXECUTABLE, {"--master", "--game", "ut2004", refusing.address()});
    EXPECT_EQ(ut2004.code, 2);
    EXPECT_TRUE(ut2004.err.contains("CD key")) << ut2004.err.toStdString();
    EXPECT_EQ(run(VYRN_EXECUTABLE, {"--master", "not a master"}).code, 2);
}

TEST(MasterCommand, QuakestatReadsTheStandinList) {
    if (QStandardPaths::findExecutable(QStringLiteral("quakestat")).isEmpty())
        GTEST_SKIP() << "quakestat is not installed";
    const int base = testPortBase(13);
    // quakestat answers every challenge with one fixed validate string, so only a lenient
    // master serves it.
    MasterStandin master(base, {"--servers", "5", "--list-port", QString::number(base + 1), "--lenient"});
    StandinProcess servers({"--game", "ut", "--port", QString::number(base + 1), "--servers", "5", "--name",
                            "Listed"});
    ASSERT_TRUE(master.ready() && servers.ready());
    const ProgramRun r = run(QStringLiteral("quakestat"), {"-nh", "-gsm,ut", master.address()});
    const QString all = r.out.join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains(master.address() + "   5 servers")) << all.toStdString();
    for (int i = 1; i <= 5; ++i) EXPECT_TRUE(all.contains(QStringLiteral("Listed %1").arg(i))) << i;
}
