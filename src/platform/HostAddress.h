#pragma once
#include <QString>
#include <QStringView>

// An address as VYRN reads it wherever one is written (the command line, "servers.ini",
// "masters.ini", a master's list): four decimal numbers from 0 to 255 without leading
// zeros, or a host name (dot-separated labels of letters, digits and dashes, not all
// digits). The old inet_aton forms ("1.2.3", "010.0.0.1", "0x7f.1") are refused rather
// than guessed at: one reads 1.2.0.3 or 8.0.0.1 there and something else elsewhere.
struct HostAddress {
    enum class Kind { Ipv4, HostName, Ipv6, Invalid };
    Kind kind = Kind::Invalid;
    QString text;      // the dotted address or the host name; empty when not one
    quint32 ipv4 = 0;  // host byte order, for Ipv4

    bool valid() const { return kind == Kind::Ipv4 || kind == Kind::HostName; }
};

HostAddress parseHostAddress(QStringView text);

// Why the text is no usable address, naming it; empty when it is one.
QString hostAddressProblem(QStringView text);
