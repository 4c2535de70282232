#pragma once
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// The wire side of the status query: telling probe replies from status text, and
// putting the datagrams of one server's status reply together until it is complete.
// Datagrams are text with one character per byte (Windows-1252), NUL included.

// A probe reply holds NUL NUL somewhere after its first character.
bool isProbeDatagram(const QString& datagram);

// For replies without part numbers: true when the text holds "\final\" and
// "\gamename\" (exact case), a "\numplayers\" count, and, for 8 or more announced
// players, the key of player count - 8.
bool isStatusComplete(const QString& statusText);

// Split at every NUL.
QStringList splitProbeFields(const QString& probeBuffer);

// The reply N and part number k of a datagram ending in "\queryid\N.k"; nothing when
// it carries none.
struct ReplyPart {
    QString reply;
    quint32 part = 0;
};
std::optional<ReplyPart> replyPart(const QString& datagram);

// The status datagrams one server has sent for one query. Numbered datagrams are put in
// order by their part number, apart for each reply number N; a reply is complete when
// the part carrying "\final\" and every part before it are in. Datagrams without a number are joined in arrival
// order and complete by the test above. The reply is bounded in size and in parts: past
// either it never completes.
class ReplyAssembly {
public:
    static constexpr qsizetype kMaxText = 64 * 1024;
    static constexpr quint32 kMaxParts = 256;

    // Adds one text datagram; the whole reply once it is complete.
    std::optional<QString> add(const QString& datagram);

private:
    struct Numbered {
        QMap<quint32, QString> parts;
        std::optional<quint32> finalPart;
    };
    static std::optional<QString> whole(const Numbered& reply);

    QHash<QString, Numbered> numbered_;  // by reply number
    QString unnumbered_;
    qsizetype size_ = 0;
    bool overflowed_ = false;
};
