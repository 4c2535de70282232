#include "query/NativeReplies.h"

#include "platform/Text1252.h"
#include "query/ColourCodes.h"
#include "query/StatusDecoders.h"

namespace {
constexpr qsizetype kHeader = 5;

// Reads a reply front to back; every read past the end fails and leaves it failed.
class ReplyCursor {
public:
    explicit ReplyCursor(const QByteArray& bytes) : b_(bytes), at_(kHeader) {}
    bool atEnd() const { return at_ >= b_.size(); }
    bool failed() const { return failed_; }

    qint32 int32() {
        if (!need(4)) return 0;
        quint32 v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | quint8(b_[at_ + i]);
        at_ += 4;
        return qint32(v);
    }
    // A length byte counting the closing NUL, the bytes and the NUL; an empty string is a
    // single 0. A length byte with its top bit set gives the count of UCS-2 characters
    // (two bytes each, the NUL included) in its low seven bits.
    QString string() {
        if (!need(1)) return {};
        const quint8 length = quint8(b_[at_++]);
        if (length & 0x80) {
            const qsizetype chars = length & 0x7f;
            if (!need(chars * 2)) return {};
            QString text;
            for (qsizetype i = 0; i < chars; ++i) {
                const char16_t c = char16_t(quint8(b_[at_ + 2 * i]) | (quint8(b_[at_ + 2 * i + 1]) << 8));
                if (c == 0) break;
                text.append(QChar(c));
            }
            at_ += chars * 2;
            return text;
        }
        if (!need(length)) return {};
        QByteArray bytes = b_.mid(at_, length);
        at_ += length;
        if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0) bytes.truncate(nul);
        return windows1252ToUnicode(bytes);
    }

private:
    bool need(qsizetype n) {
        if (failed_ || n > b_.size() - at_) failed_ = true;
        return !failed_;
    }
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
    if (d.size() < kHeader || (quint8(d[0]) != 0x79 && quint8(d[0]) != 0x80) || d[1] || d[2] || d[3])
        return std::nullopt;
    if (quint8(d[4]) > quint8(NativeType::Players)) return std::nullopt;
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

QList<QPair<QString, QString>> readNativeRules(const QByteArray& reply) {
    QList<QPair<QString, QString>> rules;
    ReplyCursor c(reply);
    while (!c.atEnd()) {
        const QString key = c.string();
        const QString value = c.string();
        if (c.failed()) break;
        rules.append({key, value});
    }
    return rules;
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
    st.numPlayers = QString::number(std::max(info.numPlayers, 0));
    st.maxPlayers = QString::number(std::max(info.maxPlayers, 0));
    st.players = players;
    st.adminName = ruleValue(rules, QLatin1String("AdminName"));
    st.adminEmail = ruleValue(rules, QLatin1String("AdminEmail"));
    st.password = passwordDisplay(ruleValue(rules, QLatin1String("GamePassword")));
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
