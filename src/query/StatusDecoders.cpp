#include "query/StatusDecoders.h"

#include <QHash>
#include <optional>

#include "platform/MonotonicClock.h"
#include "query/MainGrids.h"
#include "query/PlayersAndBuddies.h"

namespace {

// A key's value in the status fields: the element after the first element equal to the
// key, ignoring case. A key that is the very last element has no value (pastEnd).
struct FieldValue {
    bool found = false;
    bool pastEnd = false;
    QString text;
};

class StatusLookup {
public:
    explicit StatusLookup(const QStringList& fields) : f_(fields) {
        for (int i = 0; i < f_.size(); ++i) positions_[f_[i].toLower()].append(i);
    }
    int size() const { return int(f_.size()); }
    // Element i, or nothing past the end.
    std::optional<QString> at(qsizetype i) const {
        if (i < 0 || i >= f_.size()) return std::nullopt;
        return f_[i];
    }
    FieldValue value(const QString& key) const {
        const auto it = positions_.constFind(key);
        if (it == positions_.cend()) return {};
        const int k = it->first();
        if (k + 1 >= f_.size()) return {true, true, {}};
        return {true, false, f_[k + 1]};
    }
    const QList<int>& positions(const QString& key) const {
        static const QList<int> none;
        const auto it = positions_.constFind(key);
        return it == positions_.cend() ? none : *it;
    }

private:
    const QStringList& f_;
    QHash<QString, QList<int>> positions_;
};

// The probe's rule values: a piece holding the rule name after its length byte, then
// the value in the next piece, whose length byte is dropped.
struct ProbeValues {
    QString goalScore, timeLimit, translocator, mutators;
    bool pastEnd = false;  // a rule name was the last piece
};

ProbeValues readProbeValues(const QStringList& p) {
    ProbeValues v;
    auto first = [&](const char* key, QString& out) {
        for (int i = 0; i < p.size(); ++i) {
            if (p[i].indexOf(QLatin1String(key), 0, Qt::CaseInsensitive) < 1) continue;
            if (i + 1 >= p.size()) { v.pastEnd = true; return false; }
            out = p[i + 1].mid(1);
            return true;
        }
        return true;
    };
    if (!first("goalscore", v.goalScore) || !first("timelimit", v.timeLimit) ||
        !first("translocator", v.translocator))
        return v;
    QStringList mutators;
    for (int i = 0; i < p.size(); ++i) {
        if (p[i].indexOf(QLatin1String("mutator"), 0, Qt::CaseInsensitive) < 1) continue;
        if (i + 1 >= p.size()) { v.pastEnd = true; break; }
        mutators << p[i + 1].mid(1);
    }
    v.mutators = mutators.join(QStringLiteral(", "));
    return v;
}

// Turns repainting of the players grid back on, however the decoder ends.
struct PlayerGridRepaint {
    FlexGrid& flex;
    explicit PlayerGridRepaint(FlexGrid& f) : flex(f) { flex.setRedraw(false); }
    ~PlayerGridRepaint() {
        flex.setRedraw(true);
        flex.Refresh();
    }
};

// The reply's columns of the server's row; one-digit counts get their leading "0".
void writeServerRow(FlexGrid& g, int row, const QString& hostName, const QString& players,
                    const QString& maxPlayers, qint64 ping, const QString& gameType) {
    g.setTextMatrix(row, 1, hostName);
    g.setTextMatrix(row, 4, padCount(players) + QStringLiteral("/") + padCount(maxPlayers));
    g.setTextMatrix(row, 6, QString::number(ping));
    g.setTextMatrix(row, 8, gameType);
}

// Walks the listed players: buddy match for each, and in selected-server mode one
// players-grid row each. Returns the number listed, or nothing when strict and an
// element was missing (the UT2003/UT2004 decoder ends there).
std::optional<int> readPlayers(MainState& s, const StatusLookup& f, double announced,
                               const QString& hostName, bool strict) {
    int listed = 0;
    // No more players can be listed than there are fields.
    const int last = int(std::min<double>(announced, f.size()));
    for (int j = 0; j < last; ++j) {
        const QString number = QString::number(j);
        const QString frags = QStringLiteral("frags_") + number;
        int k = -1;
        for (int candidate : f.positions(QStringLiteral("player_") + number)) {
            const auto next = f.at(candidate + 2);
            if (!next) {
                if (strict) return std::nullopt;
                continue;
            }
            if (next->compare(frags, Qt::CaseInsensitive) == 0) {
                k = candidate;
                break;
            }
        }
        if (k < 0) continue;
        ++listed;
        const auto name = f.at(k + 1);
        buddyMatch(s, name.value_or(QString()), hostName);
        if (s.AutoScanMode) continue;
        const auto score = f.at(k + 3), ping = f.at(k + 5), team = f.at(k + 7);
        if (strict && !(score && ping && team)) return std::nullopt;
        FlexGrid& g = s.Flex;
        const int row = g.Rows() - 1;
        g.setTextMatrix(row, 0, name.value_or(QString()));
        g.setTextMatrix(row, 1, score.value_or(QString()));
        g.setTextMatrix(row, 2, ping.value_or(QString()));
        placeTeamPicture(s, team.value_or(QString()));
        g.setTextMatrix(row, 4, team.value_or(QString()));
        g.AddItem(QString());
    }
    FlexGrid& g = s.Flex;
    const int rows = g.Rows() - 1;
    for (int i = 1; i <= rows && i < g.Rows(); ++i)
        if (g.Rows() > 2 && g.TextMatrix(i, 0).isEmpty()) g.RemoveItem(i);
    return listed;
}

QString mapText(const FieldValue& title, const FieldValue& name) {
    QString map = title.text;
    if (name.found) map += QStringLiteral(" (") + name.text + QStringLiteral(")");
    return map;
}

}  // namespace

int findServerRow(const MainState& s, const QString& host, int port) {
    if (host.isEmpty()) return 0;
    const FlexGrid& g = s.ServerGrid;
    for (int i = 1; i < g.Rows(); ++i)
        if (g.TextMatrix(i, 2) == host && leadingNumber(g.TextMatrix(i, 3)) == port) return i;
    return 0;
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
    t.remove(QLatin1String("GAME"), Qt::CaseInsensitive);
    return t;
}

QString passwordDisplay(const QString& value) {
    const QString v = value.trimmed();
    bool numeric = false;
    const double n = v.isEmpty() ? 0 : v.toDouble(&numeric);
    if (v.isEmpty() || numeric) return n == 0 ? QStringLiteral("No") : n == 1 ? QStringLiteral("Yes") : QString();
    if (v.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return QStringLiteral("No");
    if (v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return QStringLiteral("Yes");
    return {};
}

QString padCount(const QString& count) {
    return count.size() == 1 ? QStringLiteral("0") + count : count;
}

void DecodeUt2Status(MainState& s, ReplyState& r) {
    const qint64 ping = monotonicMs() - r.QuerySentAt;
    struct ResetFields {
        ReplyState& r;
        ~ResetFields() {
            r.StatusFields = QStringList{QString()};
            r.ProbeFields = QStringList{QString()};
        }
    } resetFields{r};
    PlayerGridRepaint repaint(s.Flex);
    SetupPlayerGrid(s);

    const int row = findServerRow(s, r.RemoteHost, r.RemotePort);
    if (row == 0) return;
    const QString address = s.ServerGrid.TextMatrix(row, 2);

    // The probe rules belong to this server only when its game port answered them.
    const bool probeIsOurs = r.probeFromHost == r.RemoteHost && r.probeFromPort == r.RemotePort - 9;
    const ProbeValues probe = readProbeValues(probeIsOurs ? r.ProbeFields : QStringList{QString()});
    if (probe.pastEnd) return;

    const StatusLookup f(r.StatusFields);
    // A key that is the last field ends the decode there; what was written stays.
    const FieldValue host = f.value(QStringLiteral("hostname"));
    if (host.pastEnd) return;
    if (host.found && !s.AutoScanMode)
        s.panel.Frame1 = QStringLiteral("Server information for: ") + host.text;
    FieldValue v[10];
    const char* keys[10] = {"hostport", "maptitle",   "mapname",  "numplayers", "maxplayers",
                            "adminname", "adminemail", "password", "gametype",   "gamever"};
    for (int i = 0; i < 10; ++i) {
        v[i] = f.value(QLatin1String(keys[i]));
        if (v[i].pastEnd) return;
    }
    const QString hostPort = v[0].text, map = mapText(v[1], v[2]);
    QString players = v[3].text, maxPlayers = v[4].text;
    const QString adminName = v[5].text, adminEmail = v[6].text, password = v[7].text;
    const QString gameType = v[8].text.toUpper(), version = v[9].text.toUpper();
    const QString gameTypeDisplay = ut2GameTypeDisplay(gameType);

    const double announced = leadingNumber(players);
    if (announced > 0) {
        const auto listed = readPlayers(s, f, announced, host.text, true);
        if (!listed) return;
        if (announced != *listed) players = QString::number(*listed);
        SortPlayerGrid(s, s.PlayerSortCol);
    }
    writeServerRow(s.ServerGrid, row, host.text, players, maxPlayers, ping, gameTypeDisplay);

    if (s.AutoScanMode) return;
    InfoPanel& p = s.panel;
    p.Text2 = hostPort;
    p.Text1 = address;
    const QString timeLimit = probe.timeLimit.isEmpty() ? QStringLiteral("N/A") : probe.timeLimit;
    QString translocator = probe.translocator;
    if (translocator.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) translocator = QStringLiteral("No");
    else if (translocator.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) translocator = QStringLiteral("Yes");
    p.Label1 = QStringLiteral("Map: ") + map;
    p.Text3 = adminName + QStringLiteral(" ( ") + adminEmail + QStringLiteral(" )");
    p.Label3 = QStringLiteral("Time Limit: ") + timeLimit;
    p.Label4 = QStringLiteral("Version:") + version;
    p.Label5 = QStringLiteral("P/W: ") + passwordDisplay(password);
    p.Label6 = QStringLiteral("Translocator: ") + translocator;
    p.Label7 = QStringLiteral("Game Type: ") + gameTypeDisplay;
    p.Label8 = QStringLiteral("Mutators: ") + probe.mutators;
    p.Label9 = QStringLiteral("Goal Limit: ") + probe.goalScore;
}

void DecodeUtStatus(MainState& s, ReplyState& r) {
    PlayerGridRepaint repaint(s.Flex);
    SetupPlayerGrid(s);
    const qint64 ping = monotonicMs() - r.QuerySentAt;
    struct ResetFields {
        ReplyState& r;
        ~ResetFields() { r.StatusFields = QStringList{QString()}; }
    } resetFields{r};

    const int row = findServerRow(s, r.RemoteHost, r.RemotePort);
    if (row == 0) return;
    const QString address = s.ServerGrid.TextMatrix(row, 2);

    // Here a key that is the last field simply leaves its value empty.
    const StatusLookup f(r.StatusFields);
    auto text = [&](const char* key) { return f.value(QLatin1String(key)).text; };
    const FieldValue host = f.value(QStringLiteral("hostname"));
    if (host.found && !s.AutoScanMode)
        s.panel.Frame1 = QStringLiteral("Server information for: ") + host.text;
    const QString hostPort = text("hostport");
    const QString map = mapText(f.value(QStringLiteral("maptitle")), f.value(QStringLiteral("mapname")));
    QString players = text("numplayers"), maxPlayers = text("maxplayers");
    const QString adminName = text("adminname"), timeLimit = text("timelimit");
    const QString adminEmail = text("adminemail"), password = text("password");
    const QString gameType = text("gametype").toUpper(), version = text("gamever").toUpper();
    const QString mutators = text("mutators").toLower(), goal = text("goalteamscore");
    const QString gameTypeDisplay = utGameTypeDisplay(gameType);

    const double announced = leadingNumber(players);
    if (announced > 0) {
        readPlayers(s, f, announced, host.text, false);
        SortPlayerGrid(s, s.PlayerSortCol);
    }
    writeServerRow(s.ServerGrid, row, host.text, players, maxPlayers, ping, gameTypeDisplay);
    s.ServerGrid.setTextMatrix(row, 7, QStringLiteral("ut"));

    if (s.AutoScanMode) return;
    InfoPanel& p = s.panel;
    p.Text2 = hostPort;
    p.Text1 = address;
    p.Label1 = QStringLiteral("Map: ") + map;
    p.Text3 = adminName + QStringLiteral(" ( ") + adminEmail + QStringLiteral(" )");
    p.Label3 = QStringLiteral("Time Limit: ") + timeLimit;
    p.Label4 = QStringLiteral("Version:") + version;
    p.Label5 = QStringLiteral("P/W: ") + passwordDisplay(password);
    p.Label7 = QStringLiteral("Game Type: ") + gameTypeDisplay.toLower();
    p.Label8 = QStringLiteral("Mutators: ") + mutators;
    p.Label9 = QStringLiteral("Goal Limit: ") + goal;
}
