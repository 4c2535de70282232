#pragma once
#include <QHash>
#include <QString>
#include <QSqlDatabase>
#include <optional>

#include "history/HistoryTypes.h"

// The history file: an SQLite database (Qt SQL's driver) in WAL mode. Every sample is kept
// for a week, then one figure per server and hour for a year; past the size cap the oldest
// hours go first. Used from one thread only (HistoryService's worker, or the command line).
class HistoryStore {
public:
    static constexpr int kSchemaVersion = 1;
    static constexpr qint64 kSamplesKeptSecs = 7 * 24 * 3600;
    static constexpr qint64 kHoursKeptSecs = 365 * 24 * 3600;
    static constexpr qint64 kDefaultSizeCapBytes = 256LL * 1024 * 1024;
    static constexpr int kBusyTimeoutMs = 10000;  // another process holding the write lock

    // How opening went. A damaged file, or one of a newer VYRN, is renamed (with its -wal
    // and -shm files) to setAsideAs and a new one is started; nothing is written over.
    struct Opening {
        enum class How { Opened, Created, SetAsideDamaged, SetAsideNewer, Failed } how = How::Failed;
        QString setAsideAs;
        QString error;  // the reason, for Failed
        bool ok() const { return how != How::Failed; }
    };

    HistoryStore();
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    Opening open(const QString& path);
    void close();
    bool isOpen() const;
    QString path() const { return path_; }
    void setSizeCapBytes(qint64 bytes) { sizeCap_ = bytes; }

    // Adds the samples in one transaction: all of them or, on failure (a full disk, a lock
    // held too long), none, with the reason in error.
    bool add(const QList<HistorySample>& samples, QString* error = nullptr);
    // Folds samples older than a week into hourly figures, drops figures older than a year
    // and, past the size cap, the oldest hours. now: wall-clock seconds.
    bool compact(qint64 now, QString* error = nullptr);
    bool clear(QString* error = nullptr);
    // Forgets every sighting of a name not among buddies (all of them for an empty list).
    bool keepOnlyBuddies(const QStringList& buddies, QString* error = nullptr);
    // After a failed write: checks every page again and, when the file has been damaged since
    // it was opened, sets it aside and starts a new one, as open() does. Nothing when whole.
    std::optional<Opening> setAsideIfDamaged();

    ServerHistory serverHistory(const HistoryServer& server, qint64 now);
    // The usual players of each server in the hour of the week `now` falls in; servers
    // without a figure for that hour are left out.
    QHash<HistoryServer, double> usuallyBusy(const QList<HistoryServer>& servers, qint64 now);
    BuddyHistory buddyHistory(const QString& buddy);
    QList<SampleRow> samples(const HistoryServer& server, qint64 from, qint64 to);
    QList<HourFigure> hours(const HistoryServer& server, qint64 from, qint64 to);

    // The pages in use, free pages left out: what the size cap is measured against.
    qint64 usedBytes();

private:
    QSqlDatabase db() const;
    bool createSchema(QString* error);
    std::optional<qint64> serverId(const HistoryServer& server);
    bool foldSamplesBefore(qint64 time, QString* error);
    bool dropHoursBefore(qint64 hour, QString* error);
    bool keepUnderSizeCap(qint64 now, QString* error);
    bool addToUsualWeek(qint64 server, int hourOfWeek, qint64 players, int hours, QString* error);

    QString connection_;
    QString path_;
    qint64 sizeCap_ = kDefaultSizeCapBytes;
    QHash<HistoryServer, qint64> serverIds_;  // rows of the servers table, as looked up or added
};
