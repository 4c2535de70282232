#pragma once
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "history/HistoryStore.h"
#include "history/HistoryTypes.h"

class QThread;
class QTimer;

// The history as the windows use it: the store lives on a thread of its own, so no write
// or read holds up the event loop. Samples are gathered and written in batches; each
// answer comes back on the thread that asked, through the callback given.
class HistoryService : public QObject {
    Q_OBJECT
public:
    static constexpr int kFlushAfterMs = 2000;
    static constexpr int kFlushAtSamples = 500;
    // A server's replies closer together than this make one sample (the scan asks every
    // few seconds; a minute is finer than any picture shows).
    static constexpr qint64 kSampleSpacingSecs = 60;

    // Opens path on the worker; `opened` is told how that went.
    explicit HistoryService(const QString& path, QObject* parent = nullptr);
    ~HistoryService() override;  // writes what is gathered, then closes

    std::function<void(const HistoryStore::Opening&)> opened;
    // A batch that could not be written (a full disk, a lock held too long), with the reason;
    // its samples are dropped.
    std::function<void(const QString& error)> writeFailed;
    // Wall-clock seconds; replaced by tests.
    void setClock(std::function<qint64()> clock);

    void record(const HistorySample& sample);
    void flush();
    void fetchServer(const HistoryServer& server, std::function<void(const ServerHistory&)> done);
    void fetchUsuallyBusy(const QList<HistoryServer>& servers,
                          std::function<void(const QHash<HistoryServer, double>&)> done);
    void fetchBuddy(const QString& buddy, std::function<void(const BuddyHistory&)> done);
    void clear(std::function<void(bool cleared, const QString& error)> done);
    // Forgets the sightings of every name not among buddies (all of them for an empty list).
    void keepOnlyBuddies(const QStringList& buddies);
    // Runs after everything asked before it is done (tests wait on it).
    void whenIdle(std::function<void()> done);

private:
    // Runs work on the worker thread, after everything posted before it.
    void onWorker(std::function<void()> work);
    // Runs done on this object's thread, unless this object is gone by then.
    void answer(std::function<void()> done);
    void onOpened(const HistoryStore::Opening& opening);
    void compact();

    QThread* thread_ = nullptr;
    QObject* worker_ = nullptr;            // lives on thread_
    std::unique_ptr<HistoryStore> store_;  // used on thread_ only
    std::function<qint64()> clock_;
    QList<HistorySample> pending_;
    QHash<HistoryServer, qint64> lastSampled_;
    QTimer* flushTimer_ = nullptr;
    QTimer* compactTimer_ = nullptr;
    bool failed_ = false;
    bool checkedAfterFailure_ = false;  // worker only: a failed write checks the file once
};
