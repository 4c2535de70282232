// `vyrn --master` run as the user runs it, against the stand-in master.
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "MasterStandin.h"

namespace {
struct ProgramRun {
    int code = -1;
    QStringList out;
    QString err;
};

ProgramRun run(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));  // the command line must need no display
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VYRN_EXECUTABLE), args);
    p.waitForFinished(30000);
    ProgramRun r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
}  // namespace

TEST(MasterCommand, PrintsOrQueriesTheListNamesTheMastersThatFailedAndSaysSoInTheExitCode) {
    const int base = testPortBase(11);
    StandinProcess servers(
        {"--game", "ut", "--port", QString::number(base + 2), "--servers", "2", "--name", "Listed"});
    MasterStandin refusing(base, {"--fault", "refuse"});
    // The third listed server does not answer.
    MasterStandin good(base + 1, {"--servers", "3", "--list-port", QString::number(base + 2)});
    ASSERT_TRUE(servers.ready() && refusing.ready() && good.ready());
    QStringList listed;
    for (int port = base + 2; port <= base + 4; ++port) listed << QStringLiteral("127.0.0.1:%1").arg(port);
    const ProgramRun r = run({"--master", refusing.address(), good.address()});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, listed);
    EXPECT_EQ(r.err.trimmed(), refusing.address() + ": refused the connection");

    // Each listed server asked as "--query" asks it; one silent makes the exit code 1.
    const ProgramRun json =
        run({"--master", "--query", "--json", "--game", "ut", "--timeout", "500", good.address()});
    EXPECT_EQ(json.code, 1);
    ASSERT_EQ(json.out.size(), 3) << json.err.toStdString();
    QStringList answered;
    for (const QString& line : json.out) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        answered << o.value("game").toString() + " " + o.value("address").toString() + ":" +
                        QString::number(o.value("queryPort").toInt()) + " " + o.value("hostName").toString();
    }
    answered.sort();
    EXPECT_EQ(answered, QStringList({"UT " + listed[0] + " Listed 1", "UT " + listed[1] + " Listed 2",
                                     "UT " + listed[2] + " "}));

    EXPECT_EQ(run({"--master", refusing.address()}).code, 1);
    const ProgramRun ut2004 = run({"--master", "--game", "ut2004", refusing.address()});
    EXPECT_EQ(ut2004.code, 2);
    EXPECT_TRUE(ut2004.err.contains("CD key")) << ut2004.err.toStdString();
    EXPECT_EQ(run({"--master", "not a master"}).code, 2);
}
