#include "master/Ut2Wire.h"

namespace {
constexpr qint32 kMaxStringLength = 4096;
}

QByteArray ut2Dword(quint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = char((v >> (8 * i)) & 0xff);
    return b;
}

QByteArray ut2Packet(const QByteArray& body) { return ut2Dword(quint32(body.size())) + body; }

QByteArray ut2CompactNumber(qint32 value) {
    quint32 v = value < 0 ? quint32(-qint64(value)) : quint32(value);
    QByteArray out;
    quint8 first = (value < 0 ? 0x80 : 0) | (v & 0x3f);
    v >>= 6;
    if (v) first |= 0x40;
    out += char(first);
    while (v) {
        quint8 next = v & 0x7f;
        v >>= 7;
        if (v) next |= 0x80;
        out += char(next);
    }
    return out;
}

QByteArray ut2String(QByteArrayView latin1) {
    if (latin1.isEmpty()) return QByteArray(1, '\0');
    return ut2CompactNumber(qint32(latin1.size() + 1)) + latin1.toByteArray() + '\0';
}

std::optional<quint8> Ut2Reader::byte() {
    if (left() < 1) return failed<quint8>();
    return quint8(body_[at_++]);
}

std::optional<quint16> Ut2Reader::word() {
    if (left() < 2) return failed<quint16>();
    const quint16 v = quint16(quint8(body_[at_]) | (quint8(body_[at_ + 1]) << 8));
    at_ += 2;
    return v;
}

std::optional<quint32> Ut2Reader::dword() {
    if (left() < 4) return failed<quint32>();
    quint32 v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | quint8(body_[at_ + i]);
    at_ += 4;
    return v;
}

std::optional<qint32> Ut2Reader::compactNumber() {
    const auto first = byte();
    if (!first) return std::nullopt;
    qint64 v = *first & 0x3f;
    int shift = 6;
    bool more = *first & 0x40;
    // At most five bytes, as the engine writes them.
    for (int i = 0; more && i < 4; ++i) {
        const auto b = byte();
        if (!b) return std::nullopt;
        v |= qint64(*b & 0x7f) << shift;
        shift += 7;
        more = *b & 0x80;
    }
    if (more || v > 0x7fffffff) return failed<qint32>();
    return (*first & 0x80) ? qint32(-v) : qint32(v);
}

std::optional<QString> Ut2Reader::string() {
    const auto n = compactNumber();
    if (!n) return std::nullopt;
    if (*n == 0) return QString();
    const qint64 count = *n < 0 ? -qint64(*n) : *n;
    const qint64 bytes = *n < 0 ? count * 2 : count;
    if (count > kMaxStringLength || bytes > left()) return failed<QString>();
    QString text;
    if (*n > 0) {
        text = QString::fromLatin1(body_.sliced(at_, bytes).toByteArray());
    } else {
        for (qint64 i = 0; i < count; ++i)
            text += QChar(quint16(quint8(body_[at_ + 2 * i]) | (quint8(body_[at_ + 2 * i + 1]) << 8)));
    }
    at_ += bytes;
    // The closing NUL, and anything a sloppy writer left after one inside the count.
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0) text.truncate(nul);
    return text;
}

std::optional<QByteArray> Ut2PacketSplitter::next() {
    if (oversized_) return std::nullopt;
    const qsizetype have = buffer_.size() - at_;
    if (have < 4) {
        buffer_.remove(0, at_);
        at_ = 0;
        return std::nullopt;
    }
    Ut2Reader header(QByteArrayView(buffer_).sliced(at_, 4));
    const quint32 length = *header.dword();
    if (length > maxBody_) {
        oversized_ = true;
        buffer_.clear();
        at_ = 0;
        return std::nullopt;
    }
    if (have - 4 < qsizetype(length)) {
        buffer_.remove(0, at_);
        at_ = 0;
        return std::nullopt;
    }
    QByteArray body = buffer_.mid(at_ + 4, length);
    at_ += 4 + length;
    if (at_ == buffer_.size()) {
        buffer_.clear();
        at_ = 0;
    }
    return body;
}
