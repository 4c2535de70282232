#include "query/StatusDecoders.h"

#include <QHash>
#include <QSet>
#include <QVarLengthArray>

#include "platform/TextFileCodec.h"
#include "query/ColourCodes.h"
#include "query/ReplyGathering.h"
#include "state/FlexGrid.h"

namespace {
constexpr auto kCaseInsensitive = Qt::CaseInsensitive;

// The pairs of one reply as text: every value without its colour codes, read by the
// rule for names (UTF-8 when valid, else Windows-1252), with an index from each key in
// lower case to the pairs that carry it.
class StatusLookup {
public:
    explicit StatusLookup(const StatusPairs& parsed) {
        keys_.reserve(parsed.pairs.size());
        values_.reserve(parsed.pairs.size());
        for (const auto& [key, value] : parsed.pairs) {
            keys_.append(decodeUtf8OrWindows1252(key));
            values_.append(decodeUtf8OrWindows1252(stripColourCodes(value)));
            lowerKeys_.append(keys_.last().toLower());
            positions_[lowerKeys_.last()].append(int(keys_.size() - 1));
        }
    }
    int size() const { return int(keys_.size()); }
    const QString& key(int i) const { return keys_[i]; }
    const QString& lowerKey(int i) const { return lowerKeys_[i]; }
    const QString& value(int i) const { return values_[i]; }
    // The value of the first pair with the key (lower case); nothing when none has it.
    std::optional<QString> find(const QString& key) const {
        const auto it = positions_.constFind(key);
        if (it == positions_.cend()) return std::nullopt;
        return values_[it->first()];
    }
    QString text(const char* key) const { return find(QString::fromLatin1(key)).value_or(QString()); }
    const QVarLengthArray<int, 1>* positions(const QString& key) const {
        const auto it = positions_.constFind(key);
        return it == positions_.cend() ? nullptr : &*it;
    }

private:
    QStringList keys_, lowerKeys_, values_;
    QHash<QString, QVarLengthArray<int, 1>> positions_;
};

// The probe's rule values: the first rule whose name holds the word, in any case.
struct ProbeValues {
    QString goalScore, timeLimit, translocator, mutators, adminName, adminEmail;
};

ProbeValues readProbeValues(const QList<QPair<QString, QString>>& rules) {
    ProbeValues v;
    auto first = [&](const char* word) {
        for (const auto& [name, value] : rules)
            if (name.contains(QLatin1String(word), kCaseInsensitive)) return stripColourCodes(value);
        return QString();
    };
    v.goalScore = first("goalscore");
    v.timeLimit = first("timelimit");
    v.translocator = first("translocator");
    v.adminName = first("adminname");
    v.adminEmail = first("adminemail");
    QStringList mutators;
    for (const auto& [name, value] : rules)
        if (name.contains(QLatin1String("mutator"), kCaseInsensitive)) mutators << stripColourCodes(value);
    v.mutators = mutators.join(QStringLiteral(", "));
    return v;
}

bool isPlayerKey(const QString& lowerKey) {
    for (const char* prefix : {"player_", "frags_", "ping_", "team_", "mesh_", "skin_", "face_", "ngsecret_"})
        if (lowerKey.startsWith(QLatin1String(prefix))) return true;
    return false;
}

// Every key/value pair the named fields do not show, as received.
QList<QPair<QString, QString>> otherKeys(const StatusLookup& f) {
    static const QSet<QString> shown{"hostname",   "hostport", "maptitle", "mapname", "numplayers",
                                     "maxplayers", "gametype", "password", "queryid", "final"};
    QList<QPair<QString, QString>> rules;
    for (int i = 0; i < f.size(); ++i) {
        const QString& key = f.lowerKey(i);
        if (key.isEmpty() || isPlayerKey(key) || shown.contains(key)) continue;
        rules.append({f.key(i), f.value(i)});
    }
    return rules;
}

// The listed players: for each number below the count, the first "player_N" pair that
// is followed by a "frags_N" pair; the ping and team are the values of the two pairs
// after that, as servers send them.
QList<PlayerStatus> readPlayers(const StatusLookup& f, double announced) {
    QList<PlayerStatus> players;
    // No more players can be listed than there are pairs.
    const int last = int(std::min<double>(announced, f.size()));
    for (int j = 0; j < last; ++j) {
        const QString number = QString::number(j);
        const auto* candidates = f.positions(QStringLiteral("player_") + number);
        if (!candidates) continue;
        const QString frags = QStringLiteral("frags_") + number;
        for (const int k : *candidates) {
            if (k + 1 >= f.size() || f.lowerKey(k + 1) != frags) continue;
            auto valueAt = [&](int i) { return i < f.size() ? f.value(i) : QString(); };
            players.append({f.value(k), f.value(k + 1), valueAt(k + 2), valueAt(k + 3)});
            break;
        }
    }
    return players;
}

QString mapText(const std::optional<QString>& title, const std::optional<QString>& name) {
    QString map = title.value_or(QString());
    if (name && !name->isEmpty()) map += QStringLiteral(" (") + *name + QStringLiteral(")");
    return map;
}

void readCommon(const StatusLookup& f, ServerStatus& st) {
    const std::optional<QString> host = f.find(QStringLiteral("hostname"));
    st.gameName = f.text("gamename");
    st.hasHostName = host.has_value();
    st.hostName = host.value_or(QString());
    st.hostPort = f.text("hostport");
    st.map = mapText(f.find(QStringLiteral("maptitle")), f.find(QStringLiteral("mapname")));
    st.numPlayers = f.text("numplayers");
    st.announcedPlayers = st.numPlayers;
    st.maxPlayers = f.text("maxplayers");
    st.adminName = f.text("adminname");
    st.adminEmail = f.text("adminemail");
    st.password = passwordDisplay(f.text("password"));
    st.version = f.text("gamever").toUpper();
    st.rules = otherKeys(f);
}

ServerStatus decodeUt2(const StatusLookup& f, const QList<QPair<QString, QString>>& probeRules) {
    ServerStatus st;
    st.game = ReplyGame::Ut2;
    readCommon(f, st);
    const ProbeValues probe = readProbeValues(probeRules);
    // UT2003 and UT2004 name their admin among the probe's rules; the status reply may not.
    if (st.adminName.isEmpty()) st.adminName = probe.adminName;
    if (st.adminEmail.isEmpty()) st.adminEmail = probe.adminEmail;
    st.gameType = ut2GameTypeDisplay(f.text("gametype").toUpper());
    const double announced = leadingNumber(st.numPlayers);
    if (announced > 0) {
        st.players = readPlayers(f, announced);
        // The row shows the players actually listed.
        if (announced != double(st.players.size())) st.numPlayers = QString::number(st.players.size());
    }
    st.timeLimit = probe.timeLimit.isEmpty() ? QStringLiteral("N/A") : probe.timeLimit;
    st.translocator = probe.translocator;
    if (st.translocator.compare(QLatin1String("false"), kCaseInsensitive) == 0)
        st.translocator = QStringLiteral("No");
    else if (st.translocator.compare(QLatin1String("true"), kCaseInsensitive) == 0)
        st.translocator = QStringLiteral("Yes");
    st.mutators = probe.mutators;
    st.goalLimit = probe.goalScore;
    st.rules += probeRules;
    return st;
}

ServerStatus decodeUt(const StatusLookup& f) {
    ServerStatus st;
    st.game = ReplyGame::Ut;
    readCommon(f, st);
    st.timeLimit = f.text("timelimit");
    st.gameType = utGameTypeDisplay(f.text("gametype").toUpper());
    st.mutators = f.text("mutators").toLower();
    st.goalLimit = f.text("goalteamscore");
    const double announced = leadingNumber(st.numPlayers);
    if (announced > 0) st.players = readPlayers(f, announced);
    return st;
}

}  // namespace

ReplyGame replyGame(const QString& gameName) {
    const QString name = gameName.toLower();
    if (name == QLatin1String("ut2004") || name == QLatin1String("ut2") || name == QLatin1String("ut2d"))
        return ReplyGame::Ut2;
    if (name == QLatin1String("ut")) return ReplyGame::Ut;
    return ReplyGame::None;
}

std::optional<ServerStatus> decodeStatusReply(const QByteArray& statusText,
                                              const QList<QPair<QString, QString>>& probeRules) {
    const StatusLookup fields(parseStatusPairs(statusText));
    const ReplyGame game = replyGame(fields.text("gamename"));
    if (game == ReplyGame::None) return std::nullopt;
    if (game == ReplyGame::Ut) return decodeUt(fields);
    return decodeUt2(fields, probeRules);
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
    t.remove(QLatin1String("GAME"), kCaseInsensitive);
    return t;
}

QString passwordDisplay(const QString& value) {
    const QString v = value.trimmed();
    bool numeric = false;
    const double n = v.isEmpty() ? 0 : v.toDouble(&numeric);
    if (v.isEmpty() || numeric)
        return n == 0 ? QStringLiteral("No") : n == 1 ? QStringLiteral("Yes") : QString();
    if (v.compare(QLatin1String("false"), kCaseInsensitive) == 0) return QStringLiteral("No");
    if (v.compare(QLatin1String("true"), kCaseInsensitive) == 0) return QStringLiteral("Yes");
    return {};
}

QString padCount(const QString& count) { return count.size() == 1 ? QStringLiteral("0") + count : count; }
