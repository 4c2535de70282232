#pragma once
#include <QByteArray>
#include <QString>

// The games, their files and the wire are 8-bit Windows-1252. The five bytes that
// code page leaves undefined map to the C1 control of the same value, so every byte
// string survives a round trip through QString unchanged.
QString windows1252ToUnicode(const QByteArray& bytes);
// Characters outside the code page become '?'.
QByteArray unicodeToWindows1252(const QString& text);
// True when every character has a byte in the code page, so nothing would become '?'.
bool fitsWindows1252(const QString& text);
