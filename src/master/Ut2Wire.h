#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// The wire form of the UT2003/UT2004 master protocol: every packet is a 4-byte
// little-endian length and a body; numbers in a body are little-endian; a string is its
// length counting the closing NUL (the engine's compact number: one byte below 64,
// negative for UCS-2 characters), the characters and the NUL. An empty string is a
// single 0.

QByteArray ut2Packet(const QByteArray& body);
QByteArray ut2String(QByteArrayView latin1);
QByteArray ut2Dword(quint32 value);
QByteArray ut2CompactNumber(qint32 value);

// Reads a packet body in order; a read past its end gives nothing, and so does every
// read after it.
class Ut2Reader {
public:
    explicit Ut2Reader(QByteArrayView body) : body_(body) {}
    std::optional<quint8> byte();
    std::optional<quint16> word();
    std::optional<quint32> dword();
    std::optional<qint32> compactNumber();
    std::optional<QString> string();
    qsizetype left() const { return failed_ ? 0 : body_.size() - at_; }

private:
    template <typename T>
    std::optional<T> failed() {
        failed_ = true;
        return std::nullopt;
    }
    QByteArrayView body_;
    qsizetype at_ = 0;
    bool failed_ = false;
};

// Cuts a byte stream into packet bodies. Only the unfinished packet is kept, and no
// packet may be longer than the given bound: a longer one is no packet of this protocol.
class Ut2PacketSplitter {
public:
    explicit Ut2PacketSplitter(quint32 maxBody) : maxBody_(maxBody) {}
    void feed(QByteArrayView bytes) { buffer_ += bytes; }
    // The next whole body, or nothing until more bytes come.
    std::optional<QByteArray> next();
    bool oversized() const { return oversized_; }
    bool holdsPart() const { return !buffer_.isEmpty(); }

private:
    quint32 maxBody_;
    QByteArray buffer_;
    qsizetype at_ = 0;
    bool oversized_ = false;
};
