#include "platform/TextFileCodec.h"

#include <QStringDecoder>
#include <optional>

#include "platform/Text1252.h"

namespace {
const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

// The text when the bytes are UTF-8 that encodes back to exactly the same bytes.
std::optional<QString> exactUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.toUtf8() != bytes) return std::nullopt;
    return text;
}

QByteArray firstLineEnd(const QByteArray& bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') return QByteArrayLiteral("\n");
        if (bytes[i] != '\r') continue;
        return i + 1 < bytes.size() && bytes[i + 1] == '\n' ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\r");
    }
    return QByteArrayLiteral("\r\n");
}

QStringList splitTextLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.append(text.mid(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}
}  // namespace

DecodedLines decodeTextLines(const QByteArray& bytes) {
    DecodedLines out;
    out.format.lineEnd = firstLineEnd(bytes);
    const bool bom = bytes.startsWith(kUtf8Bom);
    const QByteArray body = bom ? bytes.mid(kUtf8Bom.size()) : bytes;
    if (std::optional<QString> text = exactUtf8(body)) {
        out.format.byteOrderMark = bom;
        out.lines = splitTextLines(*text);
    } else {
        out.format.encoding = TextEncoding::Windows1252;
        out.lines = splitTextLines(windows1252ToUnicode(bytes));
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
