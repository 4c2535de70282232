#include "query/QueryOutput.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "query/StatusDecoders.h"

namespace {
// A number when the text is a whole number, null otherwise: a field has one type.
QJsonValue numberOrNull(const QString& text) {
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok);
    return ok ? QJsonValue(n) : QJsonValue(QJsonValue::Null);
}

bool isControl(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7f && c.unicode() < 0xa0); }

QJsonObject rulesObject(const QList<QPair<QString, QString>>& rules) {
    QJsonObject o;
    for (const auto& [key, value] : rules) {
        // A rule sent more than once (a UT2004 server's mutators) keeps every value.
        const QJsonValue before = o.value(key);
        if (before.isUndefined()) o.insert(key, value);
        else if (before.isArray()) o.insert(key, QJsonArray(before.toArray()) << value);
        else o.insert(key, QJsonArray{before, value});
    }
    return o;
}
}  // namespace

// Qt's writer escapes C0 controls but passes C1 controls (a UTF-8 terminal may obey one,
// U+009B opens a control sequence); they can only stand inside strings, where "\u009b"
// means the same.
QString jsonLine(const QJsonObject& o) {
    QString text = QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isControl(c)) out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else out += c;
    }
    return out;
}

QString queryGameName(const QueryOutcome& outcome) {
    if (outcome.status) {
        const QString name = outcome.status->gameName.toLower();
        if (name == QLatin1String("ut")) return QStringLiteral("UT");
        if (name == QLatin1String("ut2004")) return QStringLiteral("UT2004");
        if (name == QLatin1String("ut2") || name == QLatin1String("ut2d")) return QStringLiteral("UT2003");
    }
    const QString code = outcome.target.game.toLower();
    if (code == QLatin1String("ut2")) return QStringLiteral("UT2003");
    if (code == QLatin1String("ut3")) return QStringLiteral("UT2004");
    return QStringLiteral("UT");
}

std::optional<int> parseTimeoutMs(const QString& text) {
    if (!timeoutProblem(text).isEmpty()) return std::nullopt;
    return text.toInt();
}

QString timeoutProblem(const QString& text) {
    bool ok = false;
    const qlonglong ms = text.toLongLong(&ok);
    const QString head = QStringLiteral("--timeout ") + printable(text) + QStringLiteral(": ");
    if (!ok) return head + QStringLiteral("not a whole number of milliseconds");
    if (ms < 1) return head + QStringLiteral("no server can answer in no time; give at least 1 ms");
    if (ms > 600000) return head + QStringLiteral("more than 600000 ms (10 minutes)");
    return {};
}

QString printable(QString text) {
    for (QChar& c : text)
        if (isControl(c)) c = QLatin1Char('?');
    return text;
}

QString queryErrorText(const QueryOutcome& outcome) {
    using Failure = QueryOutcome::Failure;
    if (outcome.status) return {};
    switch (outcome.failure) {
        case Failure::Unresolved: return QStringLiteral("host name not resolved");
        case Failure::BadAddress: return QStringLiteral("bad address or port");
        case Failure::BadReply: return QStringLiteral("unreadable reply");
        case Failure::Incomplete: return QStringLiteral("incomplete reply");
        case Failure::Busy: return QStringLiteral("same server listed twice");
        case Failure::None:
        case Failure::NoReply: break;
    }
    return QStringLiteral("no reply");
}

QString queryResultJson(const QueryOutcome& outcome) {
    QJsonObject o;
    o.insert(QStringLiteral("address"), outcome.target.address);
    o.insert(QStringLiteral("queryPort"), outcome.target.port);
    o.insert(QStringLiteral("game"), queryGameName(outcome));
    o.insert(QStringLiteral("ok"), outcome.answered());
    if (!outcome.status) {
        o.insert(QStringLiteral("error"), queryErrorText(outcome));
        return jsonLine(o);
    }
    const ServerStatus& st = *outcome.status;
    o.insert(QStringLiteral("hostName"), st.hostName);
    o.insert(QStringLiteral("hostPort"), numberOrNull(st.hostPort));
    o.insert(QStringLiteral("map"), st.map);
    o.insert(QStringLiteral("gameType"), st.gameType);
    o.insert(QStringLiteral("numPlayers"), numberOrNull(st.announcedPlayers));
    o.insert(QStringLiteral("maxPlayers"), numberOrNull(st.maxPlayers));
    o.insert(QStringLiteral("ping"), st.pingMs);
    o.insert(QStringLiteral("password"), st.password == QLatin1String("Yes"));
    QJsonArray players;
    for (const PlayerStatus& p : st.players)
        players.append(QJsonObject{{QStringLiteral("name"), p.name},
                                   {QStringLiteral("score"), numberOrNull(p.score)},
                                   {QStringLiteral("ping"), numberOrNull(p.ping)},
                                   {QStringLiteral("team"), numberOrNull(p.team)}});
    o.insert(QStringLiteral("players"), players);
    o.insert(QStringLiteral("rules"), rulesObject(st.rules));
    return jsonLine(o);
}

QString queryResultText(const QueryOutcome& outcome) {
    const QString where = outcome.target.address + QLatin1Char(':') + QString::number(outcome.target.port);
    QString line = where.leftJustified(22) + QLatin1Char(' ') + queryGameName(outcome).leftJustified(7);
    if (!outcome.status) return printable(line + queryErrorText(outcome));
    const ServerStatus& st = *outcome.status;
    line += (padCount(st.numPlayers) + QLatin1Char('/') + padCount(st.maxPlayers)).leftJustified(6);
    line += (QString::number(st.pingMs) + QStringLiteral(" ms")).rightJustified(8) + QStringLiteral("  ");
    line += st.gameType.leftJustified(14) + QLatin1Char(' ') + st.hostName;
    if (!st.map.isEmpty()) line += QStringLiteral("  [") + st.map + QLatin1Char(']');
    return printable(line);
}
