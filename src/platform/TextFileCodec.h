#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// VYRN's own text files come from several worlds: the Windows program wrote them in
// Windows-1252, a Windows editor saves "Unicode" as UTF-16 with a byte-order mark, this
// program writes UTF-8. A file is read in the one it is in and written back in the same,
// with the same line ends, so no byte of a name is ever replaced.

enum class TextEncoding { Utf8, Windows1252, Utf16LE, Utf16BE };

struct TextFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    bool byteOrderMark = false;  // a UTF-8 file that began with EF BB BF (UTF-16 always has one)
    QByteArray lineEnd = QByteArrayLiteral("\r\n");  // the file's first line end; CR LF for new files
    bool finalLineEnd = true;                        // false for a file whose last line has no end
};

struct DecodedLines {
    QStringList lines;
    TextFormat format;
};

// Text that starts with a UTF-16 byte-order mark is read as UTF-16 of that byte order,
// text that is valid UTF-8 as UTF-8, any other as Windows-1252 (where every byte is a
// character). Lines end at CR LF, LF or a lone CR; a file that ends with a
// line end has no empty line after it.
DecodedLines decodeTextLines(const QByteArray& bytes);

// The same rule for one text from elsewhere (a name a server sent): valid UTF-8 that
// holds a byte above 0x7F is UTF-8, anything else Windows-1252.
QString decodeUtf8OrWindows1252(const QByteArray& bytes);

// Each line followed by the format's line end (the last one only when the file had
// it). A Windows-1252 file whose new text
// holds a character that code page lacks is written as UTF-8 instead, so nothing
// typed is turned into '?'.
QByteArray encodeTextLines(const QStringList& lines, const TextFormat& format);
