#pragma once
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QString>
#include <functional>

// Bitmap files built byte by byte, the way the games write them, so the reader is
// tested against the format rather than against our own writer.
namespace fixtures {

using Pattern = std::function<QRgb(int x, int y)>;

inline QRgb gradient(int x, int y) {
    return qRgb((x * 37 + y * 3) & 0xFF, (y * 29 + x) & 0xFF, (x * 7 + y * 13) & 0xFF);
}

inline void put(QByteArray& b, int at, quint32 v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// bits: 8 (palette of the first 256 pattern colours by index), 16 (5-5-5), 24, 32.
inline QByteArray bmpBytes(int w, int h, int bits, const Pattern& colour, bool topDown = false) {
    const int stride = ((w * bits + 31) / 32) * 4;
    const int paletteEntries = bits == 8 ? 256 : 0;
    const int offset = 14 + 40 + paletteEntries * 4;
    QByteArray b(offset + stride * h, '\0');
    b[0] = 'B';
    b[1] = 'M';
    put(b, 2, quint32(b.size()), 4);
    put(b, 10, quint32(offset), 4);
    put(b, 14, 40, 4);
    put(b, 18, quint32(w), 4);
    put(b, 22, quint32(topDown ? -h : h), 4);
    put(b, 26, 1, 2);
    put(b, 28, quint32(bits), 2);
    put(b, 34, quint32(stride * h), 4);
    for (int i = 0; i < paletteEntries; ++i) {
        const QRgb c = qRgb(i, 255 - i, (i * 5) & 0xFF);
        put(b, 54 + 4 * i, quint32(qBlue(c) | (qGreen(c) << 8) | (qRed(c) << 16)), 4);
    }
    for (int y = 0; y < h; ++y) {
        const int row = topDown ? y : h - 1 - y;
        char* p = b.data() + offset + row * stride;
        for (int x = 0; x < w; ++x) {
            const QRgb c = colour(x, y);
            switch (bits) {
                case 8: p[x] = char(qRed(c)); break;  // the red value picks the palette entry
                case 16: put(b, int(p - b.data()) + 2 * x,
                             quint32(((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3)), 2);
                    break;
                case 24:
                    p[3 * x] = char(qBlue(c)); p[3 * x + 1] = char(qGreen(c)); p[3 * x + 2] = char(qRed(c));
                    break;
                case 32:
                    p[4 * x] = char(qBlue(c)); p[4 * x + 1] = char(qGreen(c)); p[4 * x + 2] = char(qRed(c));
                    p[4 * x + 3] = 0;
                    break;
            }
        }
    }
    return b;
}

// What the 8-bit fixture shows at a pixel of the pattern.
inline QRgb paletteColour(QRgb c) {
    const int i = qRed(c);
    return qRgb(i, 255 - i, (i * 5) & 0xFF);
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

inline QImage patternImage(int w, int h, const Pattern& colour) {
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, colour(x, y));
    return image;
}

}  // namespace fixtures
