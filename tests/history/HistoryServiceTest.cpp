#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTemporaryDir>
#include <cstdio>

#include "history/HistoryService.h"
#include "history/HistoryTestSupport.h"

namespace {
// Runs the event loop until done() holds (or ten seconds went by).
bool waitUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

constexpr int kBatch = 400;
QList<HistorySample> batch(int n) {
    QList<HistorySample> samples;
    for (int i = 0; i < kBatch; ++i)
        samples.append(sampleAt(n * 100000 + i, i % 32, 40, {"127.0.0.1", i, "UT"}));
    return samples;
}

// This test program again, running one of the children below on the file given.
QProcess* startChild(const QString& test, const QString& path, const QStringList& wrapper = {}) {
    auto* child = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VYRN_HISTORY_CHILD", path);
    child->setProcessEnvironment(env);
    const QStringList own{QCoreApplication::applicationFilePath(), "--gtest_filter=HistoryChild." + test};
    child->start(wrapper.isEmpty() ? own[0] : wrapper[0],
                 wrapper.mid(1) + (wrapper.isEmpty() ? own.mid(1) : own));
    return child;
}
}  // namespace

// Children run by the tests below; they do nothing when run on their own.
TEST(HistoryChild, WritesBatchesUntilKilled) {
    const QString path = qEnvironmentVariable("VYRN_HISTORY_CHILD");
    if (path.isEmpty()) GTEST_SKIP() << "run by CrashMidBatch";
    HistoryStore store;
    ASSERT_TRUE(store.open(path).ok());
    for (int n = 0;; ++n) {
        ASSERT_TRUE(store.add(batch(n)));
        std::printf("batch\n");
        std::fflush(stdout);
    }
}

TEST(HistoryChild, WritesUntilTheDiskIsFull) {
    const QString path = qEnvironmentVariable("VYRN_HISTORY_CHILD");
    if (path.isEmpty()) GTEST_SKIP() << "run by FullDisk";
    int written = 0;
    QString error;
    {
        HistoryStore store;
        ASSERT_TRUE(store.open(path).ok());
        while (store.add(batch(written), &error)) ++written;
    }
    std::printf("%d batches, then: %s\n", written, qPrintable(error));
    EXPECT_GT(written, 0);
    EXPECT_FALSE(error.isEmpty());
    HistoryStore again;
    EXPECT_EQ(again.open(path).how, HistoryStore::Opening::How::Opened);  // not set aside as damaged
    again.close();
    EXPECT_EQ(readScalar(path, "PRAGMA integrity_check").toString(), "ok");
    EXPECT_EQ(readScalar(path, "SELECT count(*) FROM samples").toInt(), written * kBatch);
}

TEST(HistoryStore, AKillMidBatchLeavesWholeBatchesOnly) {
    QTemporaryDir dir;
    const QString path = dir.filePath("history.sqlite");
    std::unique_ptr<QProcess> child(startChild("WritesBatchesUntilKilled", path));
    ASSERT_TRUE(waitUntil([&] {
        child->waitForReadyRead(50);
        return child->peek(1 << 20).count("batch") >= 5;
    }));
    child->kill();  // SIGKILL, most likely inside the next transaction
    child->waitForFinished();
    EXPECT_EQ(readScalar(path, "PRAGMA integrity_check").toString(), "ok");
    const int samples = readScalar(path, "SELECT count(*) FROM samples").toInt();
    EXPECT_GE(samples, 5 * kBatch);
    EXPECT_EQ(samples % kBatch, 0);
}

TEST(HistoryStore, AFullDiskFailsTheBatchAndKeepsTheFileConsistent) {
    if (QProcess::execute("unshare", {"-m", "true"}) != 0)
        GTEST_SKIP() << "no mount namespace here (needs root)";
    QTemporaryDir dir;
    std::unique_ptr<QProcess> child(
        startChild("WritesUntilTheDiskIsFull", dir.filePath("history.sqlite"),
                   {"unshare", "-m", "sh", "-c", "mount -t tmpfs -o size=512k tmpfs \"$0\" && exec \"$@\"",
                    dir.path()}));
    ASSERT_TRUE(child->waitForFinished(60000));
    const QByteArray output = child->readAll();
    EXPECT_EQ(child->exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

TEST(HistoryService, RecordsAMinuteApartWritesInBatchesAndAnswersOnTheAskingThread) {
    TimeZoneScope zone("UTC");
    QTemporaryDir dir;
    const qint64 now = utc(2026, 12, 7, 20);
    std::optional<HistoryStore::Opening> opening;
    {
        HistoryService service(dir.filePath("history.sqlite"));
        service.setClock([&] { return now; });
        service.opened = [&](const HistoryStore::Opening& o) { opening = o; };
        for (const qint64 t : {now - 600, now - 570, now - 539, now - 300, now - 7200}) {
            service.record(sampleAt(t, int(t % 10)));  // 30 s apart makes one; an earlier time is a new one
        }
        std::optional<ServerHistory> history;
        service.fetchServer(kServer, [&](const ServerHistory& h) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            history = h;
        });
        ASSERT_TRUE(waitUntil([&] { return history.has_value(); }));
        ASSERT_TRUE(opening && opening->how == HistoryStore::Opening::How::Created);
        EXPECT_EQ(history->lastDay.size(), 4);
        service.record(sampleAt(now, 5, 50, {"127.0.0.1", 9999, "UT"}));  // written as the service ends
    }
    HistoryStore store;
    store.open(dir.filePath("history.sqlite"));
    EXPECT_EQ(store.samples({"127.0.0.1", 9999, "UT"}, 0, now).size(), 1);

    HistoryService broken(dir.filePath("missing/history.sqlite"));
    broken.opened = [&](const HistoryStore::Opening& o) { opening = o; };
    bool answered = false;
    broken.fetchServer(kServer, [&](const ServerHistory& h) { answered = h.lastDay.isEmpty(); });
    ASSERT_TRUE(waitUntil([&] { return answered; }));
    EXPECT_EQ(opening->how, HistoryStore::Opening::How::Failed);
    broken.record(sampleAt(now, 5));
}
