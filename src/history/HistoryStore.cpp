#include "history/HistoryStore.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>

#include "history/HistorySql.h"

namespace {
constexpr int kSqliteCorrupt = 11;

// A text column: a missing text (a reply without a host name or map) is stored empty, as
// SQL's NULL would break the NOT NULL of the column and lose the whole batch.
QVariant text(const QString& value) { return QVariant(value.isNull() ? QStringLiteral("") : value); }
constexpr int kSqliteNotADatabase = 26;

QAtomicInt connectionCount;

const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS servers (id INTEGER PRIMARY KEY, address TEXT NOT NULL,"
    " query_port INTEGER NOT NULL, game TEXT NOT NULL, host_name TEXT NOT NULL DEFAULT '',"
    " UNIQUE (address, query_port, game))",
    "CREATE TABLE IF NOT EXISTS samples (server INTEGER NOT NULL, time INTEGER NOT NULL,"
    " hour_of_week INTEGER NOT NULL, players INTEGER, max_players INTEGER, map TEXT NOT NULL,"
    " game_type TEXT NOT NULL, ping INTEGER NOT NULL)",
    // Holds all the pictures read of a sample, so reading a server's week never leaves it.
    "CREATE INDEX IF NOT EXISTS samples_by_server ON samples (server, time, players, max_players,"
    " hour_of_week)",
    "CREATE INDEX IF NOT EXISTS samples_by_week ON samples (hour_of_week, server)",
    "CREATE TABLE IF NOT EXISTS hours (server INTEGER NOT NULL, hour INTEGER NOT NULL,"
    " hour_of_week INTEGER NOT NULL, most_players INTEGER, max_players INTEGER, median_ping INTEGER,"
    " samples INTEGER NOT NULL, PRIMARY KEY (server, hour)) WITHOUT ROWID",
    // The sums behind the usual week of each server, kept in step with the hours table so
    // that "usually busy" for thousands of servers reads one row each.
    "CREATE TABLE IF NOT EXISTS usual_week (server INTEGER NOT NULL, hour_of_week INTEGER NOT NULL,"
    " players_sum INTEGER NOT NULL, hours INTEGER NOT NULL, PRIMARY KEY (server, hour_of_week))"
    " WITHOUT ROWID",
    "CREATE TABLE IF NOT EXISTS sightings (buddy TEXT NOT NULL, server INTEGER NOT NULL,"
    " hour INTEGER NOT NULL, hour_of_week INTEGER NOT NULL, last_seen INTEGER NOT NULL,"
    " PRIMARY KEY (buddy, server, hour)) WITHOUT ROWID",
};

// What a look at an existing file, through a read-only connection that cannot change it,
// found.
enum class FileState { Usable, Damaged, Newer, Unreadable };
struct FileCheck {
    FileState state = FileState::Unreadable;
    QString error;
};

QString connectOptions(bool readOnly) {
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(HistoryStore::kBusyTimeoutMs);
    if (readOnly) options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    return options;
}

// Every page is checked (quick_check: some 1.3 s for a year of a thousand servers).
FileCheck checkFile(const QString& path) {
    const QString name = QStringLiteral("vyrn-history-check-%1").arg(connectionCount.fetchAndAddOrdered(1));
    FileCheck check;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(connectOptions(true));
        if (!db.open()) {
            check.error = db.lastError().text();
        } else {
            QSqlQuery version = selectSql(db, QStringLiteral("PRAGMA user_version"), {});
            const int code = version.isActive() ? 0 : sqliteCode(version);
            if (code == kSqliteNotADatabase || code == kSqliteCorrupt) {
                check.state = FileState::Damaged;
            } else if (!version.isActive()) {
                check.error = version.lastError().text();
            } else if (version.next() && version.value(0).toInt() > HistoryStore::kSchemaVersion) {
                check.state = FileState::Newer;
            } else {
                QSqlQuery quick = selectSql(db, QStringLiteral("PRAGMA quick_check"), {});
                const bool ok = quick.isActive() && quick.next() && quick.value(0).toString() == "ok";
                check.state = ok ? FileState::Usable : FileState::Damaged;
            }
            version = QSqlQuery();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return check;
}

// Moves the file and its -wal and -shm aside under a name no file has yet.
std::optional<QString> setAside(const QString& path, const QString& why) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = QStringLiteral("%1.%2-%3").arg(path, why, stamp);
    for (int n = 2; QFileInfo::exists(target) || QFileInfo::exists(target + "-wal"); ++n) {
        target = QStringLiteral("%1.%2-%3-%4").arg(path, why, stamp).arg(n);
    }
    if (!QFile::rename(path, target)) return std::nullopt;
    for (const char* part : {"-wal", "-shm"}) {
        if (QFileInfo::exists(path + part)) QFile::rename(path + part, target + part);
    }
    return target;
}
}  // namespace

HistoryStore::HistoryStore()
    : connection_(QStringLiteral("vyrn-history-%1").arg(connectionCount.fetchAndAddOrdered(1))) {}

HistoryStore::~HistoryStore() { close(); }

QSqlDatabase HistoryStore::db() const { return QSqlDatabase::database(connection_, false); }

bool HistoryStore::isOpen() const { return QSqlDatabase::contains(connection_) && db().isOpen(); }

void HistoryStore::close() {
    serverIds_.clear();
    if (!QSqlDatabase::contains(connection_)) return;
    db().close();
    QSqlDatabase::removeDatabase(connection_);
}

HistoryStore::Opening HistoryStore::open(const QString& path) {
    close();
    path_ = path;
    Opening opening;
    opening.how = Opening::How::Created;
    if (QFileInfo::exists(path)) {
        const FileCheck check = checkFile(path);
        if (check.state == FileState::Unreadable) {
            opening.how = Opening::How::Failed;
            opening.error = check.error;
            return opening;
        }
        if (check.state == FileState::Usable) opening.how = Opening::How::Opened;
        if (check.state == FileState::Damaged || check.state == FileState::Newer) {
            const bool damaged = check.state == FileState::Damaged;
            const std::optional<QString> target = setAside(path, damaged ? "damaged" : "newer");
            if (!target) {
                opening.how = Opening::How::Failed;
                opening.error = QStringLiteral("%1 could not be set aside").arg(path);
                return opening;
            }
            opening.how = damaged ? Opening::How::SetAsideDamaged : Opening::How::SetAsideNewer;
            opening.setAsideAs = *target;
        }
    }
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
        database.setDatabaseName(path);
        database.setConnectOptions(connectOptions(false));
        QString error;
        if (!database.open()) error = database.lastError().text();
        if (error.isEmpty()) createSchema(&error);
        if (!error.isEmpty()) {
            opening.how = Opening::How::Failed;
            opening.error = error;
        }
    }
    if (!opening.ok()) close();
    return opening;
}

bool HistoryStore::createSchema(QString* error) {
    const QSqlDatabase database = db();
    // auto_vacuum only takes on a new file, before its first table: every commit that frees
    // pages (compaction, clearing) then gives them back to the disk.
    if (!runSql(database, QStringLiteral("PRAGMA auto_vacuum = FULL"), error)) return false;
    QSqlQuery mode = selectSql(database, QStringLiteral("PRAGMA journal_mode = WAL"), {});
    const bool wal = mode.next() && mode.value(0).toString().toLower() == "wal";
    mode.finish();
    if (!wal) {
        if (error) *error = QStringLiteral("the history file cannot use a write-ahead log");
        return false;
    }
    if (!runSql(database, QStringLiteral("PRAGMA synchronous = NORMAL"), error)) return false;
    if (!runSql(database, QStringLiteral("PRAGMA temp_store = MEMORY"), error)) return false;
    if (!runSql(database, QStringLiteral("BEGIN IMMEDIATE"), error)) return false;
    bool ok = true;
    for (const char* statement : kSchema) ok = ok && runSql(database, QString::fromLatin1(statement), error);
    ok = ok && runSql(database, QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion), error);
    ok = ok && runSql(database, QStringLiteral("COMMIT"), error);
    if (!ok) runSql(database, QStringLiteral("ROLLBACK"), nullptr);
    return ok;
}

std::optional<HistoryStore::Opening> HistoryStore::setAsideIfDamaged() {
    // A connection of its own, so that no page this one holds in memory hides the damage.
    if (!isOpen() || checkFile(path_).state != FileState::Damaged) return std::nullopt;
    const QString path = path_;
    close();
    const std::optional<QString> target = setAside(path, QStringLiteral("damaged"));
    Opening opening = open(path);
    if (target && opening.ok()) {
        opening.how = Opening::How::SetAsideDamaged;
        opening.setAsideAs = *target;
    }
    return opening;
}

std::optional<qint64> HistoryStore::serverId(const HistoryServer& server) {
    if (const auto found = serverIds_.constFind(server); found != serverIds_.constEnd()) return *found;
    QSqlQuery query = selectSql(
        db(), QStringLiteral("SELECT id FROM servers WHERE address = ? AND query_port = ? AND game = ?"),
        {server.address, server.queryPort, server.game});
    if (!query.next()) return std::nullopt;
    const qint64 id = query.value(0).toLongLong();
    serverIds_.insert(server, id);
    return id;
}

bool HistoryStore::add(const QList<HistorySample>& samples, QString* error) {
    if (!isOpen()) {
        if (error) *error = QStringLiteral("the history is not open");
        return false;
    }
    if (samples.isEmpty()) return true;
    const QSqlDatabase database = db();
    if (!runSql(database, QStringLiteral("BEGIN IMMEDIATE"), error)) return false;
    QSqlQuery addServer(database), rename(database), addSample(database), addSighting(database);
    bool ok =
        addServer.prepare("INSERT INTO servers (address, query_port, game, host_name) VALUES (?, ?, ?, ?)") &&
        rename.prepare("UPDATE servers SET host_name = ? WHERE id = ? AND host_name <> ?") &&
        addSample.prepare(
            "INSERT INTO samples (server, time, hour_of_week, players, max_players, map,"
            " game_type, ping) VALUES (?, ?, ?, ?, ?, ?, ?, ?)") &&
        addSighting.prepare(
            "INSERT INTO sightings (buddy, server, hour, hour_of_week, last_seen)"
            " VALUES (?, ?, ?, ?, ?) ON CONFLICT (buddy, server, hour) DO UPDATE"
            " SET last_seen = max(last_seen, excluded.last_seen)");
    if (!ok && error) *error = database.lastError().text();
    QList<HistoryServer> added;  // ids that a rollback takes back
    for (const HistorySample& sample : samples) {
        if (!ok) break;
        std::optional<qint64> id = serverId(sample.server);
        if (!id) {
            for (const QVariant& value : {QVariant(sample.server.address), QVariant(sample.server.queryPort),
                                          QVariant(sample.server.game), text(sample.serverName)}) {
                addServer.addBindValue(value);
            }
            if (!(ok = runSql(addServer, error))) break;
            id = addServer.lastInsertId().toLongLong();
            serverIds_.insert(sample.server, *id);
            added.append(sample.server);
        } else if (!sample.serverName.isEmpty()) {
            rename.addBindValue(sample.serverName);
            rename.addBindValue(*id);
            rename.addBindValue(sample.serverName);
            if (!(ok = runSql(rename, error))) break;
        }
        const int hourOfWeek = localHourOfWeek(sample.time);
        for (const QVariant& value :
             {QVariant(*id), QVariant(sample.time), QVariant(hourOfWeek), nullable(sample.players),
              nullable(sample.maxPlayers), text(sample.map), text(sample.gameType),
              QVariant(sample.pingMs)}) {
            addSample.addBindValue(value);
        }
        if (!(ok = runSql(addSample, error))) break;
        for (const QString& buddy : sample.buddies) {
            for (const QVariant& value : {QVariant(buddy), QVariant(*id), QVariant(hourOf(sample.time)),
                                          QVariant(hourOfWeek), QVariant(sample.time)}) {
                addSighting.addBindValue(value);
            }
            if (!(ok = runSql(addSighting, error))) break;
        }
    }
    if (ok) ok = runSql(database, QStringLiteral("COMMIT"), error);
    if (!ok) {
        runSql(database, QStringLiteral("ROLLBACK"), nullptr);
        for (const HistoryServer& server : added) serverIds_.remove(server);
    }
    return ok;
}

bool HistoryStore::clear(QString* error) {
    if (!isOpen()) {
        if (error) *error = QStringLiteral("the history is not open");
        return false;
    }
    const QSqlDatabase database = db();
    if (!runSql(database, QStringLiteral("BEGIN IMMEDIATE"), error)) return false;
    bool ok = true;
    for (const char* table : {"sightings", "usual_week", "hours", "samples", "servers"}) {
        ok = ok && runSql(database, QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)), error);
    }
    ok = ok && runSql(database, QStringLiteral("COMMIT"), error);
    if (!ok) runSql(database, QStringLiteral("ROLLBACK"), nullptr);
    serverIds_.clear();
    if (ok) emptyWriteAheadLog(database);
    return ok;
}

qint64 HistoryStore::usedBytes() {
    const QSqlDatabase database = db();
    auto pragma = [&](const char* name) {
        QSqlQuery query = selectSql(database, QStringLiteral("PRAGMA %1").arg(QLatin1String(name)), {});
        return query.next() ? query.value(0).toLongLong() : 0;
    };
    return (pragma("page_count") - pragma("freelist_count")) * pragma("page_size");
}

bool HistoryStore::keepOnlyBuddies(const QStringList& buddies, QString* error) {
    if (!isOpen()) {
        if (error) *error = QStringLiteral("the history is not open");
        return false;
    }
    const QSqlDatabase database = db();
    if (buddies.isEmpty()) return runSql(database, QStringLiteral("DELETE FROM sightings"), error);
    // The list goes in as one JSON array, however long it is.
    return runSql(database,
                  QStringLiteral("DELETE FROM sightings WHERE buddy NOT IN (SELECT value FROM json_each(?))"),
                  {QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(buddies)).toJson(QJsonDocument::Compact))},
                  error);
}
