#include "query/ReplyGathering.h"

#include "query/Ut2String.h"

namespace {
const QByteArray kFinalKey("final");
const QByteArray kFinal("\\final\\");
}  // namespace

bool isProbeDatagram(QByteArrayView d) {
    return d.size() >= 5 && (uchar(d[0]) == 0x79 || uchar(d[0]) == 0x80) && d[1] == 0 && d[2] == 0 &&
           d[3] == 0;
}

QList<QPair<QString, QString>> readProbeRules(QByteArrayView d) {
    QList<QPair<QString, QString>> rules;
    if (!isProbeDatagram(d) || d[4] != 1) return rules;
    qsizetype pos = 5;
    while (pos < d.size()) {
        const std::optional<QString> name = readUt2String(d, pos);
        if (!name) break;
        const std::optional<QString> value = readUt2String(d, pos);
        if (!value) break;
        rules.append({*name, *value});
    }
    return rules;
}

StatusPairs parseStatusPairs(QByteArrayView text) {
    StatusPairs out;
    // Whatever stands before the first backslash is no field.
    qsizetype pos = text.indexOf('\\');
    if (pos < 0) return out;
    ++pos;
    while (pos < text.size()) {
        const qsizetype keyEnd = text.indexOf('\\', pos);
        if (keyEnd < 0) break;  // a last key without a value: nothing is read past the end
        const QByteArrayView key = text.sliced(pos, keyEnd - pos);
        if (key == kFinalKey) {
            out.final = true;
            break;
        }
        qsizetype valueEnd = text.indexOf('\\', keyEnd + 1);
        if (valueEnd < 0) valueEnd = text.size();
        out.pairs.append({key.toByteArray(), text.sliced(keyEnd + 1, valueEnd - keyEnd - 1).toByteArray()});
        pos = valueEnd + 1;
    }
    return out;
}

std::optional<ReplyPart> replyPart(const QByteArray& d) {
    static const QByteArray key("\\queryid\\");
    const qsizetype at = d.toLower().lastIndexOf(key);
    if (at < 0) return std::nullopt;
    const qsizetype start = at + key.size();
    qsizetype end = d.indexOf('\\', start);
    if (end < 0) end = d.size();
    const QByteArrayView id = QByteArrayView(d).sliced(start, end - start);
    const qsizetype dot = id.indexOf('.');
    if (dot < 0) return std::nullopt;
    bool ok = false;
    const qulonglong part = id.sliced(dot + 1).toULongLong(&ok);
    if (!ok || part == 0 || part > 0xFFFFFFFFull) return std::nullopt;
    ReplyPart p{id.first(dot).toByteArray(), quint32(part), d.first(at) + d.sliced(end), false};
    // "\final\" closes the last part, after its "\queryid\" or (some servers) before it.
    if (p.payload.endsWith(kFinal)) {
        p.payload.chop(kFinal.size());
        p.final = true;
    }
    return p;
}

std::optional<QByteArray> ReplyAssembly::add(const QByteArray& d) {
    if (overflowed_) return std::nullopt;
    if (size_ + d.size() > kMaxText) {
        // Too big for any real server: the rest is dropped and the query runs out.
        overflowed_ = true;
        numbered_.clear();
        unnumbered_.clear();
        return std::nullopt;
    }
    std::optional<ReplyPart> id = replyPart(d);
    if (!id) {
        size_ += d.size();
        unnumbered_ += d;
        if (parseStatusPairs(unnumbered_).final) return unnumbered_;
        return std::nullopt;
    }
    // A part past any real reply's length, or one already in, is dropped.
    if (id->part > kMaxParts) return std::nullopt;
    Numbered& reply = numbered_[id->reply];
    if (reply.parts.contains(id->part)) return std::nullopt;
    size_ += d.size();
    if (id->final) reply.finalPart = id->part;
    reply.parts.insert(id->part, std::move(id->payload));
    return whole(reply);
}

std::optional<QByteArray> ReplyAssembly::whole(const Numbered& reply) {
    if (!reply.finalPart) return std::nullopt;
    QByteArray text;
    for (quint32 k = 1; k <= *reply.finalPart; ++k) {
        const auto it = reply.parts.constFind(k);
        if (it == reply.parts.cend()) return std::nullopt;
        text += *it;
    }
    return text;
}
