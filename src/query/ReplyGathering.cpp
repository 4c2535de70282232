#include "query/ReplyGathering.h"

namespace {
constexpr auto CI = Qt::CaseInsensitive;
const QLatin1String kFinal("\\final\\");
}

bool isProbeDatagram(const QString& d) {
    return d.indexOf(QStringView(u"\0\0", 2), 1) >= 1;
}

bool isStatusComplete(const QString& text) {
    if (!text.contains(kFinal) || !text.contains(QLatin1String("\\gamename\\"))) return false;
    const qsizetype pos = text.indexOf(QLatin1String("\\numplayers\\"), 0, CI);
    if (pos < 0) return false;
    // Only the first two characters of the count are read, so a huge count waits for a
    // small key and never for thousands of players.
    QString count = text.mid(pos + 12, 2);
    count.remove(QLatin1Char('\\'));
    bool numeric = false;
    const int n = count.toInt(&numeric);
    if (!numeric || n < 8) return true;  // a count that is no number asks for no players
    const qsizetype first = text.indexOf(QLatin1String("player_0"), 0, CI);
    if (first < 0) return true;
    if (first == 0) return false;
    return text.indexOf(QStringLiteral("player_") + QString::number(n - 8), 1, CI) >= 1;
}

QStringList splitProbeFields(const QString& buffer) {
    return buffer.split(QChar(u'\0'), Qt::KeepEmptyParts);
}

std::optional<ReplyPart> replyPart(const QString& d) {
    static const QLatin1String key("\\queryid\\");
    const qsizetype at = d.lastIndexOf(key, -1, CI);
    if (at < 0) return std::nullopt;
    const qsizetype start = at + key.size();
    qsizetype end = d.indexOf(QLatin1Char('\\'), start);
    if (end < 0) end = d.size();
    const QStringView id = QStringView(d).mid(start, end - start);
    const qsizetype dot = id.indexOf(QLatin1Char('.'));
    if (dot < 0) return std::nullopt;
    bool ok = false;
    const qulonglong part = id.mid(dot + 1).toULongLong(&ok);
    if (!ok || part == 0 || part > 0xFFFFFFFFull) return std::nullopt;
    return ReplyPart{id.left(dot).toString(), quint32(part)};
}

std::optional<QString> ReplyAssembly::add(const QString& d) {
    if (overflowed_) return std::nullopt;
    if (size_ + d.size() > kMaxText) {
        // Too big for any real server: the rest is dropped and the query runs out.
        overflowed_ = true;
        numbered_.clear();
        unnumbered_.clear();
        return std::nullopt;
    }
    const std::optional<ReplyPart> id = replyPart(d);
    if (!id) {
        size_ += d.size();
        unnumbered_ += d;
        if (isStatusComplete(unnumbered_)) return unnumbered_;
        return std::nullopt;
    }
    // A part past any real reply's length, or one already in, is dropped.
    if (id->part > kMaxParts) return std::nullopt;
    Numbered& reply = numbered_[id->reply];
    if (reply.parts.contains(id->part)) return std::nullopt;
    size_ += d.size();
    reply.parts.insert(id->part, d);
    if (d.contains(kFinal)) reply.finalPart = id->part;
    return whole(reply);
}

std::optional<QString> ReplyAssembly::whole(const Numbered& reply) {
    if (!reply.finalPart) return std::nullopt;
    QString text;
    for (quint32 k = 1; k <= *reply.finalPart; ++k) {
        const auto it = reply.parts.constFind(k);
        if (it == reply.parts.cend()) return std::nullopt;
        text += *it;
    }
    return text;
}
