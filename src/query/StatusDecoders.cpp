#include "query/StatusDecoders.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>

#include "query/ColourCodes.h"
#include "state/FlexGrid.h"

namespace {
constexpr auto CI = Qt::CaseInsensitive;

// A key's value in the status fields: the element after the first element equal to the
// key, ignoring case. A key that is the very last element has no value (pastEnd).
struct FieldValue {
    bool found = false;
    bool pastEnd = false;
    QString text;
};

// The fields of one reply as views into its text, with an index from each field in
// lower case to where it occurs. The views live as long as the text they were cut from.
class StatusLookup {
public:
    explicit StatusLookup(const QString& text) : lower_(text.toLower()) {
        // Windows-1252 text lowers character by character, so offsets stay the same.
        if (lower_.size() != text.size()) lower_ = text;
        f_ = QStringView(text).split(QLatin1Char('\\'));
        positions_.reserve(f_.size());
        for (int i = 0; i < f_.size(); ++i) {
            const QStringView lower = QStringView(lower_).mid(f_[i].data() - text.constData(), f_[i].size());
            lowerFields_.append(lower);
            positions_[lower].append(i);
        }
    }
    int size() const { return int(f_.size()); }
    std::optional<QStringView> at(qsizetype i) const {
        if (i < 0 || i >= f_.size()) return std::nullopt;
        return f_[i];
    }
    QStringView field(int i) const { return f_[i]; }
    QStringView lowerField(int i) const { return lowerFields_[i]; }
    FieldValue value(QStringView key) const {
        const auto it = positions_.constFind(key);
        if (it == positions_.cend()) return {};
        const int k = it->first();
        if (k + 1 >= f_.size()) return {true, true, {}};
        return {true, false, f_[k + 1].toString()};
    }
    const QVarLengthArray<int, 1>* positions(QStringView key) const {
        const auto it = positions_.constFind(key);
        return it == positions_.cend() ? nullptr : &*it;
    }

private:
    QString lower_;
    QList<QStringView> f_, lowerFields_;
    QHash<QStringView, QVarLengthArray<int, 1>> positions_;
};

// The probe's rule values: a piece holding the rule name after its length byte, then
// the value in the next piece, whose length byte is dropped.
struct ProbeValues {
    QString goalScore, timeLimit, translocator, mutators, adminName, adminEmail;
    bool pastEnd = false;  // a rule name was the last piece
};

ProbeValues readProbeValues(const QStringList& p) {
    ProbeValues v;
    // The first piece naming the rule (after its length byte), or -1.
    auto ruleAt = [&](const char* key, int from = 0) {
        for (int i = from; i < p.size(); ++i)
            if (p[i].indexOf(QLatin1String(key), 0, CI) >= 1) return i;
        return -1;
    };
    auto first = [&](const char* key, QString& out) {
        const int i = ruleAt(key);
        if (i < 0) return true;
        if (i + 1 >= p.size()) { v.pastEnd = true; return false; }
        out = p[i + 1].mid(1);
        return true;
    };
    if (!first("goalscore", v.goalScore) || !first("timelimit", v.timeLimit) ||
        !first("translocator", v.translocator))
        return v;
    QStringList mutators;
    for (int i = ruleAt("mutator"); i >= 0; i = ruleAt("mutator", i + 1)) {
        if (i + 1 >= p.size()) { v.pastEnd = true; break; }
        mutators << p[i + 1].mid(1);
    }
    v.mutators = mutators.join(QStringLiteral(", "));
    // UT2003 and UT2004 name their admin among the probe's rules; the status reply may not.
    auto optional = [&](const char* key, QString& out) {
        const int i = ruleAt(key);
        if (i >= 0 && i + 1 < p.size()) out = p[i + 1].mid(1);
    };
    optional("adminname", v.adminName);
    optional("adminemail", v.adminEmail);
    return v;
}

// The probe's rules as name/value pairs: after the 5-byte header (version, three
// zeros, query type), pieces ended by NUL, each behind its length byte.
QList<QPair<QString, QString>> probeRules(const QStringList& p) {
    QList<QPair<QString, QString>> rules;
    const QStringList pieces = p.join(QChar(u'\0')).mid(5).split(QChar(u'\0'));
    for (int i = 0; i + 1 < pieces.size(); i += 2)
        rules.append({pieces[i].mid(1), pieces[i + 1].mid(1)});
    return rules;
}

bool isPlayerKey(QStringView lowerKey) {
    for (const char* prefix : {"player_", "frags_", "ping_", "team_", "mesh_", "skin_", "face_", "ngsecret_"})
        if (lowerKey.startsWith(QLatin1String(prefix))) return true;
    return false;
}

// Every key/value pair the named fields do not show, as received.
QList<QPair<QString, QString>> otherKeys(const StatusLookup& f) {
    static const QSet<QString> shown{"hostname", "hostport", "maptitle", "mapname",  "numplayers",
                                     "maxplayers", "gametype", "password", "queryid", "final"};
    QList<QPair<QString, QString>> rules;
    for (int i = 1; i + 1 < f.size(); i += 2) {
        const QStringView key = f.lowerField(i);
        if (key.isEmpty() || isPlayerKey(key) || shown.contains(key.toString())) continue;
        rules.append({f.field(i).toString(), f.field(i + 1).toString()});
    }
    return rules;
}

// The listed players: for each number below the count, the first "player_N" key that
// is followed two elements on by "frags_N". Nothing when strict and an element is
// missing (the UT2003/UT2004 decoder ends there).
std::optional<QList<PlayerStatus>> readPlayers(const StatusLookup& f, double announced, bool strict) {
    QList<PlayerStatus> players;
    // No more players can be listed than there are fields.
    const int last = int(std::min<double>(announced, f.size()));
    for (int j = 0; j < last; ++j) {
        const QString number = QString::number(j);
        const QString frags = QStringLiteral("frags_") + number;
        int k = -1;
        const auto* candidates = f.positions(QString(QStringLiteral("player_") + number));
        if (!candidates) continue;
        for (int candidate : *candidates) {
            const auto next = f.at(candidate + 2);
            if (!next) {
                if (strict) return std::nullopt;
                continue;
            }
            if (next->compare(frags, CI) == 0) {
                k = candidate;
                break;
            }
        }
        if (k < 0) continue;
        const auto name = f.at(k + 1), score = f.at(k + 3), ping = f.at(k + 5), team = f.at(k + 7);
        if (strict && !(score && ping && team)) return std::nullopt;
        auto text = [](const std::optional<QStringView>& v) { return v ? v->toString() : QString(); };
        players.append({text(name), text(score), text(ping), text(team)});
    }
    return players;
}

QString mapText(const FieldValue& title, const FieldValue& name) {
    QString map = title.text;
    if (name.found) map += QStringLiteral(" (") + name.text + QStringLiteral(")");
    return map;
}

QString gameNameOf(const StatusLookup& f) { return f.value(QStringLiteral("gamename")).text; }

std::optional<ServerStatus> decodeUt2(const StatusLookup& f, const QStringList& probeFields) {
    ServerStatus st;
    st.game = ReplyGame::Ut2;
    const ProbeValues probe = readProbeValues(probeFields);
    if (probe.pastEnd) return std::nullopt;
    FieldValue v[11];
    const char* keys[11] = {"hostname", "hostport", "maptitle", "mapname", "numplayers", "maxplayers",
                            "adminname", "adminemail", "password", "gametype", "gamever"};
    for (int i = 0; i < 11; ++i) {
        v[i] = f.value(QString::fromLatin1(keys[i]));
        if (v[i].pastEnd) return std::nullopt;  // a key that is the last field ends the decode
    }
    st.gameName = gameNameOf(f);
    st.hasHostName = v[0].found;
    st.hostName = v[0].text;
    st.hostPort = v[1].text;
    st.map = mapText(v[2], v[3]);
    st.numPlayers = v[4].text;
    st.maxPlayers = v[5].text;
    st.adminName = v[6].text.isEmpty() ? probe.adminName : v[6].text;
    st.adminEmail = v[7].text.isEmpty() ? probe.adminEmail : v[7].text;
    st.password = passwordDisplay(v[8].text);
    st.gameType = ut2GameTypeDisplay(v[9].text.toUpper());
    st.version = v[10].text.toUpper();
    const double announced = leadingNumber(st.numPlayers);
    if (announced > 0) {
        const auto players = readPlayers(f, announced, true);
        if (!players) return std::nullopt;
        st.players = *players;
        // The row shows the players actually listed.
        if (announced != double(players->size())) st.numPlayers = QString::number(players->size());
    }
    st.timeLimit = probe.timeLimit.isEmpty() ? QStringLiteral("N/A") : probe.timeLimit;
    st.translocator = probe.translocator;
    if (st.translocator.compare(QLatin1String("false"), CI) == 0) st.translocator = QStringLiteral("No");
    else if (st.translocator.compare(QLatin1String("true"), CI) == 0) st.translocator = QStringLiteral("Yes");
    st.mutators = probe.mutators;
    st.goalLimit = probe.goalScore;
    st.rules = otherKeys(f) + probeRules(probeFields);
    return st;
}

ServerStatus decodeUt(const StatusLookup& f) {
    ServerStatus st;
    st.game = ReplyGame::Ut;
    // Here a key that is the last field simply leaves its value empty.
    auto text = [&](const char* key) { return f.value(QString::fromLatin1(key)).text; };
    const FieldValue host = f.value(QStringLiteral("hostname"));
    st.gameName = gameNameOf(f);
    st.hasHostName = host.found;
    st.hostName = host.text;
    st.hostPort = text("hostport");
    st.map = mapText(f.value(QStringLiteral("maptitle")), f.value(QStringLiteral("mapname")));
    st.numPlayers = text("numplayers");
    st.maxPlayers = text("maxplayers");
    st.adminName = text("adminname");
    st.timeLimit = text("timelimit");
    st.adminEmail = text("adminemail");
    st.password = passwordDisplay(text("password"));
    st.gameType = utGameTypeDisplay(text("gametype").toUpper());
    st.version = text("gamever").toUpper();
    st.mutators = text("mutators").toLower();
    st.goalLimit = text("goalteamscore");
    const double announced = leadingNumber(st.numPlayers);
    if (announced > 0) st.players = readPlayers(f, announced, false).value_or(QList<PlayerStatus>());
    st.rules = otherKeys(f);
    return st;
}

}  // namespace

ReplyGame replyGame(const QString& text) {
    for (const char* ut2 : {"gamename\\ut2004\\", "gamename\\ut2\\", "gamename\\ut2d\\"})
        if (text.contains(QLatin1String(ut2), CI)) return ReplyGame::Ut2;
    if (text.contains(QLatin1String("gamename\\ut\\"), CI)) return ReplyGame::Ut;
    return ReplyGame::None;
}

std::optional<ServerStatus> decodeStatusReply(const QString& statusText, const QStringList& probeFields) {
    const ReplyGame game = replyGame(statusText);
    if (game == ReplyGame::None) return std::nullopt;
    // Colour codes go first: their colour bytes may be any byte, a backslash too.
    const QString text = stripColourCodes(statusText);
    const StatusLookup fields(text);
    if (game == ReplyGame::Ut) return decodeUt(fields);
    return decodeUt2(fields, probeFields);
}

QString ut2GameTypeDisplay(const QString& upperGameType) {
    QString t = upperGameType;
    t.replace(QLatin1String("ONSONSLAUGHTGAME"), QLatin1String("Onslaught"));
    t.replace(QLatin1String("INVASION"), QLatin1String("Invasion"));
    t = t.toLower();
    if (!t.isEmpty()) t[0] = t[0].toUpper();
    return t;
}

QString utGameTypeDisplay(const QString& upperGameType) {
    QString t = upperGameType.toUpper();
    t.remove(QLatin1String("GAME"), CI);
    return t;
}

QString passwordDisplay(const QString& value) {
    const QString v = value.trimmed();
    bool numeric = false;
    const double n = v.isEmpty() ? 0 : v.toDouble(&numeric);
    if (v.isEmpty() || numeric) return n == 0 ? QStringLiteral("No") : n == 1 ? QStringLiteral("Yes") : QString();
    if (v.compare(QLatin1String("false"), CI) == 0) return QStringLiteral("No");
    if (v.compare(QLatin1String("true"), CI) == 0) return QStringLiteral("Yes");
    return {};
}

QString padCount(const QString& count) {
    return count.size() == 1 ? QStringLiteral("0") + count : count;
}
