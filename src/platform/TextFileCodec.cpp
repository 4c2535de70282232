#include "platform/TextFileCodec.h"

#include <QStringDecoder>

#include "platform/FileIO.h"
#include "platform/Text1252.h"

namespace {
const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// True when the bytes are UTF-8 that encodes back to exactly the same bytes.
bool isExactUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError() && text.toUtf8() == bytes;
}

QByteArray firstLineEnd(const QByteArray& bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') return QByteArrayLiteral("\n");
        if (bytes[i] != '\r') continue;
        return i + 1 < bytes.size() && bytes[i + 1] == '\n' ? QByteArrayLiteral("\r\n")
                                                            : QByteArrayLiteral("\r");
    }
    return QByteArrayLiteral("\r\n");
}

// CR and LF are single bytes in both encodings: the bytes are cut into lines first,
// then each line is decoded.
QStringList splitTextLines(const QByteArray& bytes, QString (*decode)(const QByteArray&)) {
    QStringList lines;
    for (const QByteArray& line : splitLines(bytes)) lines.append(decode(line));
    return lines;
}
}  // namespace

QString decodeUtf8OrWindows1252(const QByteArray& bytes) {
    for (const char c : bytes)
        if (uchar(c) > 0x7f)
            return isExactUtf8(bytes) ? QString::fromUtf8(bytes) : windows1252ToUnicode(bytes);
    return QString::fromLatin1(bytes);
}

DecodedLines decodeTextLines(const QByteArray& bytes) {
    DecodedLines out;
    out.format.lineEnd = firstLineEnd(bytes);
    const bool bom = bytes.startsWith(kUtf8Bom);
    const QByteArray body = bom ? bytes.mid(kUtf8Bom.size()) : bytes;
    if (isExactUtf8(body)) {
        out.format.byteOrderMark = bom;
        out.lines = splitTextLines(body, [](const QByteArray& line) { return QString::fromUtf8(line); });
    } else {
        out.format.encoding = TextEncoding::Windows1252;
        out.lines = splitTextLines(bytes, windows1252ToUnicode);
    }
    return out;
}

QByteArray encodeTextLines(const QStringList& lines, const TextFormat& format) {
    const QString text = lines.join(QString::fromLatin1(format.lineEnd)) +
                         (lines.isEmpty() ? QString() : QString::fromLatin1(format.lineEnd));
    if (format.encoding == TextEncoding::Windows1252 && fitsWindows1252(text))
        return unicodeToWindows1252(text);
    const QByteArray utf8 = text.toUtf8();
    return format.byteOrderMark ? kUtf8Bom + utf8 : utf8;
}
