#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <optional>

// The wire side of the status query: telling probe replies from status text, reading
// the probe's rules, and putting the datagrams of one server's status reply together
// until it is complete. Everything here works on the bytes as they came.

// A reply of the UT2 native protocol, told by its header alone: 0x79 (UT2003) or 0x80
// (UT2004), three zero bytes, then the query type.
bool isProbeDatagram(QByteArrayView datagram);

// The rules of one rules reply (type 1) as name/value pairs, in order; a pair cut short
// at the end is left out. Empty for any other datagram.
QList<QPair<QString, QString>> readProbeRules(QByteArrayView datagram);

// A status text read as it was meant: "\key\value" pairs in order, up to the key
// "final". A value that happens to be "final" ends nothing; a last key without its value
// is no pair.
struct StatusPairs {
    QList<QPair<QByteArray, QByteArray>> pairs;
    bool final = false;  // the key "final" was reached
};
StatusPairs parseStatusPairs(QByteArrayView text);

// The reply N, part number k and payload of a datagram carrying "\queryid\N.k": the
// datagram without that key and without a "\final\" at its end, and whether it had one.
// Nothing when it carries no part number.
struct ReplyPart {
    QByteArray reply;
    quint32 part = 0;
    QByteArray payload;
    bool final = false;
};
std::optional<ReplyPart> replyPart(const QByteArray& datagram);

// The status datagrams one server has sent for one query. Numbered datagrams are put in
// order by their part number, apart for each reply number N; a reply is complete when
// the part carrying "\final\" and every part before it are in, and its text is their
// payloads joined, so a field cut between two parts is whole again. Datagrams without
// a number are joined in arrival order and complete once "final" stands where a key
// does. The reply is bounded in size and in parts: past either it never completes.
class ReplyAssembly {
public:
    static constexpr qsizetype kMaxText = 64 * 1024;
    static constexpr quint32 kMaxParts = 256;

    // Adds one text datagram; the whole reply once it is complete.
    std::optional<QByteArray> add(const QByteArray& datagram);

private:
    struct Numbered {
        QMap<quint32, QByteArray> parts;  // payloads by part number
        std::optional<quint32> finalPart;
    };
    static std::optional<QByteArray> whole(const Numbered& reply);

    QHash<QByteArray, Numbered> numbered_;  // by reply number
    QByteArray unnumbered_;
    qsizetype size_ = 0;
    bool overflowed_ = false;
};
