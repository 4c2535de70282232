#include "platform/TextFileCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "platform/FileIO.h"
#include "platform/Text1252.h"

namespace {
const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray kUtf16LeBom = QByteArrayLiteral("\xFF\xFE");
const QByteArray kUtf16BeBom = QByteArrayLiteral("\xFE\xFF");

// True when the bytes are UTF-8 that encodes back to exactly the same bytes.
bool isExactUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError() && text.toUtf8() == bytes;
}

template <typename Text>
QByteArray firstLineEnd(const Text& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') return QByteArrayLiteral("\n");
        if (text[i] != '\r') continue;
        return i + 1 < text.size() && text[i + 1] == '\n' ? QByteArrayLiteral("\r\n")
                                                          : QByteArrayLiteral("\r");
    }
    return QByteArrayLiteral("\r\n");
}

template <typename Text>
bool endsWithLineEnd(const Text& text) {
    return text.isEmpty() || text.endsWith('\n') || text.endsWith('\r');
}

// UTF-16 text, once decoded, is cut into lines as the 8-bit files are.
DecodedLines decodeUtf16(const QByteArray& body, TextEncoding encoding) {
    DecodedLines out;
    out.format.encoding = encoding;
    QStringDecoder decoder(encoding == TextEncoding::Utf16LE ? QStringConverter::Utf16LE
                                                             : QStringConverter::Utf16BE);
    const QString text = decoder.decode(body);
    out.format.lineEnd = firstLineEnd(text);
    out.format.finalLineEnd = endsWithLineEnd(text);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        out.lines.append(text.mid(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) out.lines.append(text.mid(start));
    return out;
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
    if (bytes.startsWith(kUtf16LeBom)) return decodeUtf16(bytes.mid(2), TextEncoding::Utf16LE);
    if (bytes.startsWith(kUtf16BeBom)) return decodeUtf16(bytes.mid(2), TextEncoding::Utf16BE);
    DecodedLines out;
    out.format.lineEnd = firstLineEnd(bytes);
    out.format.finalLineEnd = endsWithLineEnd(bytes);
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
    const QString text =
        lines.join(QString::fromLatin1(format.lineEnd)) +
        (lines.isEmpty() || !format.finalLineEnd ? QString() : QString::fromLatin1(format.lineEnd));
    if (format.encoding == TextEncoding::Utf16LE || format.encoding == TextEncoding::Utf16BE) {
        const bool le = format.encoding == TextEncoding::Utf16LE;
        QStringEncoder encoder(le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        return (le ? kUtf16LeBom : kUtf16BeBom) + QByteArray(encoder.encode(text));
    }
    if (format.encoding == TextEncoding::Windows1252 && fitsWindows1252(text))
        return unicodeToWindows1252(text);
    const QByteArray utf8 = text.toUtf8();
    return format.byteOrderMark ? kUtf8Bom + utf8 : utf8;
}
