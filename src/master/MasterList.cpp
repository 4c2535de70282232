#include "master/MasterList.h"

#include "platform/HostAddress.h"

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
    // The one reading of an address VYRN has, so "010.0.0.9" is refused here as on the command line.
    const HostAddress a = parseHostAddress(QString::fromLatin1(text.first(colon)));
    if (a.kind != HostAddress::Kind::Ipv4) return std::nullopt;
    const quint32 first = a.ipv4 >> 24;
    if (first == 0 || first >= 224) return std::nullopt;
    return ServerAddress{a.text, quint16(*port)};
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
