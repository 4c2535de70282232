#pragma once
#include <QByteArrayView>
#include <QString>
#include <optional>

// One string of the UT2003/UT2004 native query replies (the rules reply to the probe,
// and the server information and player lists of the same port), from its length byte:
// - 0: the empty string, that byte alone;
// - 1 to 127: that many bytes, the last a NUL, read by VYRN's rule for names (UTF-8
//   when valid, else Windows-1252);
// - 128 to 255 (a negative length): UCS-2, the low seven bits counting two-byte
//   little-endian characters, the last 0. The games send this form when a text holds a
//   character outside Latin-1.
// Reads the string at pos and moves pos past it, so an odd string never shifts the next;
// nothing (pos unchanged) when it would run past the end of the data.
std::optional<QString> readUt2String(QByteArrayView data, qsizetype& pos);
