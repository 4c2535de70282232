#include "platform/HostAddress.h"

#include <QHostAddress>

namespace {
bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// "0" to "255", no sign, no leading zero.
int decimalOctet(QStringView part) {
    if (part.isEmpty() || part.size() > 3 || (part.size() > 1 && part[0] == QLatin1Char('0'))) return -1;
    int v = 0;
    for (const QChar c : part) {
        if (!isAsciiDigit(c)) return -1;
        v = v * 10 + (c.unicode() - '0');
    }
    return v <= 255 ? v : -1;
}

bool isHostLabel(QStringView label) {
    if (label.isEmpty() || label.size() > 63) return false;
    if (label.front() == QLatin1Char('-') || label.back() == QLatin1Char('-')) return false;
    for (const QChar c : label)
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != QLatin1Char('-')) return false;
    return true;
}

bool allDigits(QStringView s) {
    for (const QChar c : s)
        if (!isAsciiDigit(c)) return false;
    return true;
}
}  // namespace

HostAddress parseHostAddress(QStringView text) {
    HostAddress a;
    if (text.isEmpty() || text.size() > 253) return a;
    const QList<QStringView> parts = text.split(QLatin1Char('.'));
    bool numeric = true;
    for (const QStringView p : parts) numeric = numeric && allDigits(p);
    if (numeric) {
        // Only digits and dots: a dotted address or nothing.
        if (parts.size() != 4) return a;
        quint32 v = 0;
        for (const QStringView p : parts) {
            const int octet = decimalOctet(p);
            if (octet < 0) return a;
            v = (v << 8) | quint32(octet);
        }
        return {HostAddress::Kind::Ipv4, text.toString(), v};
    }
    if (text.contains(QLatin1Char(':')) || text.startsWith(QLatin1Char('['))) {
        QStringView bare = text;
        if (bare.startsWith(QLatin1Char('[')) && bare.endsWith(QLatin1Char(']')))
            bare = bare.sliced(1, bare.size() - 2);
        if (QHostAddress(bare.toString()).protocol() == QAbstractSocket::IPv6Protocol)
            a.kind = HostAddress::Kind::Ipv6;
        return a;
    }
    // A name's last label is never all digits, so "1.2.3.x4" is a name and "1.2.3.04" is not.
    for (const QStringView p : parts)
        if (!isHostLabel(p)) return a;
    if (allDigits(parts.last())) return a;
    return {HostAddress::Kind::HostName, text.toString(), 0};
}

QString hostAddressProblem(QStringView text) {
    const HostAddress a = parseHostAddress(text);
    if (a.valid()) return {};
    const QString quoted = QLatin1Char('"') + text.toString() + QLatin1Char('"');
    if (a.kind == HostAddress::Kind::Ipv6)
        return quoted + QStringLiteral(" is an IPv6 address; VYRN queries servers over IPv4 for now");
    return quoted +
           QStringLiteral(
               " is not an address: write four numbers from 0 to 255 (like 10.0.0.9) or a host name");
}
