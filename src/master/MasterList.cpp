#include "master/MasterList.h"

namespace {
std::optional<int> decimal(QByteArrayView digits, int maxDigits) {
    if (digits.isEmpty() || digits.size() > maxDigits) return std::nullopt;
    int v = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

bool printable(QByteArrayView text) {
    for (const char c : text)
        if (uchar(c) < 0x20 || uchar(c) == 0x7f) return false;
    return true;
}
}  // namespace

quint64 ServerAddress::key() const {
    quint64 k = 0;
    for (const QString& part : address.split(QLatin1Char('.'))) k = (k << 8) | part.toUInt();
    return (k << 16) | port;
}

std::optional<ServerAddress> parseServerAddress(QByteArrayView text) {
    const qsizetype colon = text.lastIndexOf(':');
    if (colon < 0) return std::nullopt;
    const auto port = decimal(text.sliced(colon + 1), 5);
    if (!port || *port < 1 || *port > 65535) return std::nullopt;
    const QList<QByteArrayView> parts = [&] {
        QList<QByteArrayView> p;
        QByteArrayView rest = text.first(colon);
        for (qsizetype dot; (dot = rest.indexOf('.')) >= 0; rest = rest.sliced(dot + 1))
            p << rest.first(dot);
        p << rest;
        return p;
    }();
    if (parts.size() != 4) return std::nullopt;
    int octets[4];
    for (int i = 0; i < 4; ++i) {
        const auto v = decimal(parts[i], 3);
        if (!v || *v > 255) return std::nullopt;
        octets[i] = *v;
    }
    if (octets[0] == 0 || octets[0] >= 224) return std::nullopt;
    return ServerAddress{QStringLiteral("%1.%2.%3.%4").arg(octets[0]).arg(octets[1]).arg(octets[2]).arg(octets[3]),
                         quint16(*port)};
}

QList<ServerAddress> MasterListReader::feed(QByteArrayView bytes) {
    QList<ServerAddress> out;
    for (qsizetype i = 0; i < bytes.size() && state_ == State::Reading; ++i) {
        const char c = bytes[i];
        if (c != '\\') {
            if (!started_ || field_.size() >= kMaxField) {
                state_ = State::Garbage;
                break;
            }
            field_ += c;
            continue;
        }
        if (!started_) {
            started_ = true;
            continue;
        }
        takeField(field_, out);
        field_.clear();
    }
    return out;
}

void MasterListReader::finish() {
    if (state_ != State::Reading || expectingValue_) return;
    if (field_.compare("final", Qt::CaseInsensitive) == 0) state_ = State::Complete;
}

void MasterListReader::takeField(const QByteArray& field, QList<ServerAddress>& out) {
    if (!expectingValue_) {
        if (!printable(field)) {
            state_ = State::Garbage;
            return;
        }
        if (field.compare("final", Qt::CaseInsensitive) == 0) {
            state_ = State::Complete;
            return;
        }
        key_ = field.toLower();
        expectingValue_ = true;
        return;
    }
    expectingValue_ = false;
    if (key_ == "ip") {
        if (const auto server = parseServerAddress(field)) out << *server;
        else ++skipped_;
    } else if (key_ == "error") {
        errorText_ = QString::fromLatin1(field);
        state_ = State::MasterSaidError;
    }
    // Other keys a master may add are of no use here.
}
