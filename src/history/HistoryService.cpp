#include "history/HistoryService.h"

#include <QDateTime>
#include <QThread>
#include <QTimer>

namespace {
constexpr int kCompactEveryMs = 3600 * 1000;
}

HistoryService::HistoryService(const QString& path, QObject* parent)
    : QObject(parent),
      thread_(new QThread(this)),
      worker_(new QObject),
      store_(std::make_unique<HistoryStore>()),
      clock_([] { return QDateTime::currentSecsSinceEpoch(); }),
      flushTimer_(new QTimer(this)),
      compactTimer_(new QTimer(this)) {
    thread_->setObjectName(QStringLiteral("history"));
    worker_->moveToThread(thread_);
    thread_->start();
    flushTimer_->setSingleShot(true);
    flushTimer_->setInterval(kFlushAfterMs);
    connect(flushTimer_, &QTimer::timeout, this, &HistoryService::flush);
    compactTimer_->setInterval(kCompactEveryMs);
    connect(compactTimer_, &QTimer::timeout, this, &HistoryService::compact);
    HistoryStore* store = store_.get();
    onWorker([this, store, path] {
        const HistoryStore::Opening opening = store->open(path);
        answer([this, opening] { onOpened(opening); });
    });
}

HistoryService::~HistoryService() {
    flush();
    HistoryStore* store = store_.get();
    onWorker([store] {
        store->close();
        QThread::currentThread()->quit();
    });
    thread_->wait();
    delete worker_;
}

void HistoryService::setClock(std::function<qint64()> clock) { clock_ = std::move(clock); }

void HistoryService::onWorker(std::function<void()> work) {
    QMetaObject::invokeMethod(worker_, std::move(work), Qt::QueuedConnection);
}

void HistoryService::answer(std::function<void()> done) {
    QMetaObject::invokeMethod(this, std::move(done), Qt::QueuedConnection);
}

void HistoryService::onOpened(const HistoryStore::Opening& opening) {
    failed_ = !opening.ok();
    if (failed_) {
        pending_.clear();
        flushTimer_->stop();
    } else {
        compact();
        compactTimer_->start();
    }
    if (opened) opened(opening);
}

void HistoryService::compact() {
    HistoryStore* store = store_.get();
    const qint64 now = clock_();
    onWorker([store, now] {
        // A compaction that fails leaves the file as it was; the next hour tries again.
        if (store->isOpen()) store->compact(now);
    });
}

void HistoryService::record(const HistorySample& sample) {
    if (failed_) return;
    const auto last = lastSampled_.constFind(sample.server);
    // Closer than the spacing is the same minute; an earlier time is a clock that went back.
    if (last != lastSampled_.cend() && sample.time >= *last && sample.time - *last < kSampleSpacingSecs)
        return;
    lastSampled_.insert(sample.server, sample.time);
    pending_.append(sample);
    if (pending_.size() >= kFlushAtSamples) {
        flush();
    } else if (!flushTimer_->isActive()) {
        flushTimer_->start();
    }
}

void HistoryService::flush() {
    flushTimer_->stop();
    if (pending_.isEmpty()) return;
    HistoryStore* store = store_.get();
    onWorker([this, store, batch = std::exchange(pending_, {})] {
        if (!store->isOpen()) return;  // opening failed: recording drops quietly
        QString error;
        if (store->add(batch, &error)) return;
        std::optional<HistoryStore::Opening> reopened;
        if (!std::exchange(checkedAfterFailure_, true)) reopened = store->setAsideIfDamaged();
        answer([this, error, reopened] {
            if (writeFailed) writeFailed(error);
            if (reopened) onOpened(*reopened);
        });
    });
}

void HistoryService::fetchServer(const HistoryServer& server,
                                 std::function<void(const ServerHistory&)> done) {
    flush();
    HistoryStore* store = store_.get();
    const qint64 now = clock_();
    onWorker([this, store, server, now, done = std::move(done)] {
        const ServerHistory history = store->serverHistory(server, now);
        answer([done, history] { done(history); });
    });
}

void HistoryService::fetchUsuallyBusy(const QList<HistoryServer>& servers,
                                      std::function<void(const QHash<HistoryServer, double>&)> done) {
    flush();
    HistoryStore* store = store_.get();
    const qint64 now = clock_();
    onWorker([this, store, servers, now, done = std::move(done)] {
        const QHash<HistoryServer, double> busy = store->usuallyBusy(servers, now);
        answer([done, busy] { done(busy); });
    });
}

void HistoryService::fetchBuddy(const QString& buddy, std::function<void(const BuddyHistory&)> done) {
    flush();
    HistoryStore* store = store_.get();
    onWorker([this, store, buddy, done = std::move(done)] {
        const BuddyHistory history = store->buddyHistory(buddy);
        answer([done, history] { done(history); });
    });
}

void HistoryService::clear(std::function<void(bool cleared, const QString& error)> done) {
    pending_.clear();
    flushTimer_->stop();
    lastSampled_.clear();
    HistoryStore* store = store_.get();
    onWorker([this, store, done = std::move(done)] {
        QString error;
        const bool cleared = store->clear(&error);
        answer([done, cleared, error] {
            if (done) done(cleared, error);
        });
    });
}

void HistoryService::whenIdle(std::function<void()> done) {
    onWorker([this, done = std::move(done)] { answer(done); });
}

void HistoryService::keepOnlyBuddies(const QStringList& buddies) {
    HistoryStore* store = store_.get();
    onWorker([store, buddies] { store->keepOnlyBuddies(buddies); });
}
