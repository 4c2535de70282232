#include "query/NativeReplies.h"

#include "query/ColourCodes.h"
#include "query/ReplyGathering.h"
#include "query/StatusDecoders.h"
#include "query/Ut2String.h"

namespace {
constexpr qsizetype kHeader = 5;

// Reads a reply front to back; a read past the end fails and leaves the cursor failed.
class ReplyCursor {
public:
    explicit ReplyCursor(const QByteArray& bytes) : b_(bytes), at_(kHeader) {}
    bool atEnd() const { return at_ >= b_.size(); }
    bool failed() const { return failed_; }

    qint32 int32() {
        if (failed_ || b_.size() - at_ < 4) {
            failed_ = true;
            return 0;
        }
        quint32 v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | quint8(b_[at_ + i]);
        at_ += 4;
        return qint32(v);
    }
    QString string() {
        std::optional<QString> text = failed_ ? std::nullopt : readUt2String(b_, at_);
        failed_ = !text;
        return text.value_or(QString());
    }

private:
    const QByteArray& b_;
    qsizetype at_;
    bool failed_ = false;
};

QString ruleValue(const QList<QPair<QString, QString>>& rules, QLatin1String name) {
    for (const auto& [key, value] : rules)
        if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
    return {};
}

QString yesNo(const QString& value) {
    if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return QStringLiteral("Yes");
    if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return QStringLiteral("No");
    return value;
}
}  // namespace

QByteArray nativeQuery(NativeType type) {
    // The first byte as Debian's qstat sends it for both games.
    QByteArray q("\x78\x00\x00\x00", 4);
    return q + char(type);
}

std::optional<NativeType> nativeReplyType(const QByteArray& d) {
    if (!isProbeDatagram(d) || quint8(d[4]) > quint8(NativeType::Players)) return std::nullopt;
    return NativeType(d[4]);
}

std::optional<NativeInfo> readNativeInfo(const QByteArray& reply) {
    ReplyCursor c(reply);
    NativeInfo info;
    info.ut2004 = !reply.isEmpty() && quint8(reply[0]) == 0x80;
    c.int32();   // the server's number on its master
    c.string();  // its address, usually left empty
    info.gamePort = c.int32();
    c.int32();  // the query port
    info.hostName = stripColourCodes(c.string());
    info.map = c.string();
    info.gameType = c.string();
    info.numPlayers = c.int32();
    info.maxPlayers = c.int32();
    if (c.failed()) return std::nullopt;
    return info;
}

QList<PlayerStatus> readNativePlayers(const QByteArray& reply) {
    QList<PlayerStatus> players;
    ReplyCursor c(reply);
    while (!c.atEnd()) {
        c.int32();  // the player's number
        PlayerStatus p;
        p.name = stripColourCodes(c.string());
        p.ping = QString::number(c.int32());
        p.score = QString::number(c.int32());
        c.int32();  // the stats id
        if (c.failed()) break;
        players.append(p);
    }
    return players;
}

ServerStatus nativeStatus(const NativeInfo& info, const QList<QPair<QString, QString>>& rules,
                          const QList<PlayerStatus>& players) {
    ServerStatus st;
    st.game = ReplyGame::Ut2;
    st.gameName = info.ut2004 ? QStringLiteral("ut2004") : QStringLiteral("ut2");
    st.hasHostName = true;
    st.hostName = info.hostName;
    st.hostPort = QString::number(info.gamePort);
    st.map = info.map;
    st.gameType = ut2GameTypeDisplay(info.gameType.toUpper());
    // As for a "\status\" reply: the row counts the players listed.
    st.numPlayers = QString::number(players.size());
    st.announcedPlayers = QString::number(std::max(info.numPlayers, 0));
    st.maxPlayers = QString::number(std::max(info.maxPlayers, 0));
    st.players = players;
    st.adminName = ruleValue(rules, QLatin1String("AdminName"));
    st.adminEmail = ruleValue(rules, QLatin1String("AdminEmail"));
    // The information carries no password; only a rule that names it tells.
    if (const QString password = ruleValue(rules, QLatin1String("GamePassword")); !password.isEmpty())
        st.password = passwordDisplay(password);
    st.version = ruleValue(rules, QLatin1String("ServerVersion"));
    st.timeLimit = ruleValue(rules, QLatin1String("TimeLimit"));
    if (st.timeLimit.isEmpty()) st.timeLimit = QStringLiteral("N/A");
    st.translocator = yesNo(ruleValue(rules, QLatin1String("Translocator")));
    st.goalLimit = ruleValue(rules, QLatin1String("GoalScore"));
    QStringList mutators;
    for (const auto& [key, value] : rules)
        if (key.compare(QLatin1String("Mutator"), Qt::CaseInsensitive) == 0) mutators << value;
    st.mutators = mutators.join(QStringLiteral(", "));
    st.rules = rules;
    return st;
}
