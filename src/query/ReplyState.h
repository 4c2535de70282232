#pragma once
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The reply state of the server query: what has been gathered of the current reply,
// the fields handed to the decoders and where the last datagram came from.
struct ReplyState {
    QString StatusText;                 // text datagrams of the current reply
    QString ProbeBuffer;                // binary probe datagrams since the last text datagram
    QStringList ProbeFields{QString()};
    QStringList StatusFields{QString()};
    bool AwaitingProbe = false;
    qint64 QuerySentAt = 0;             // monotonic ms, taken just before "\status\" is sent

    // Source of the datagram being handled; the decoders find the row by it.
    QString RemoteHost;
    int RemotePort = 0;
    // Source of the text gathered in StatusText, so replies of two servers never mix.
    QString statusFromHost;
    int statusFromPort = 0;
    // Address that sent the probe reply held in ProbeFields (empty for none).
    QString probeFromHost;
    int probeFromPort = 0;
    // A reply grown past the size limit is dropped up to and including its "\final\".
    bool discardingReply = false;
};
