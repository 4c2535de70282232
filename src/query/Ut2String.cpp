#include "query/Ut2String.h"

#include "platform/TextFileCodec.h"

std::optional<QString> readUt2String(QByteArrayView data, qsizetype& pos) {
    if (pos < 0 || pos >= data.size()) return std::nullopt;
    const auto length = uchar(data[pos]);
    const qsizetype start = pos + 1;
    if (length < 0x80) {
        if (length > data.size() - start) return std::nullopt;
        QByteArrayView text = data.sliced(start, length);
        if (const qsizetype nul = text.indexOf('\0'); nul >= 0) text = text.first(nul);
        pos = start + length;
        return decodeUtf8OrWindows1252(text.toByteArray());
    }
    const qsizetype characters = length & 0x7f;
    if (characters * 2 > data.size() - start) return std::nullopt;
    QString text;
    text.reserve(characters);
    for (qsizetype i = 0; i < characters; ++i) {
        const char16_t c = char16_t(uchar(data[start + 2 * i]) | (uchar(data[start + 2 * i + 1]) << 8));
        if (c == 0) break;
        text.append(QChar(c));
    }
    pos = start + characters * 2;
    return text;
}
