#pragma once
#include <QByteArray>
#include <QImage>
#include <functional>

#include "support/GameInstalls.h"

// Bitmap files built byte by byte, the way the games write them, so the reader is
// tested against the format rather than against our own writer.
namespace fixtures {

using Pattern = std::function<QRgb(int x, int y)>;

inline QRgb gradient(int x, int y) {
    return qRgb((x * 37 + y * 3) & 0xFF, (y * 29 + x) & 0xFF, (x * 7 + y * 13) & 0xFF);
}

// What the 8-bit fixture's palette holds at the index of the colour's red value.
inline QRgb paletteColour(QRgb c) { return qRgb(qRed(c), 255 - qRed(c), (qRed(c) * 5) & 0xFF); }

inline void put(QByteArray& b, int at, quint32 v, int bytes) {
    for (int i = 0; i < bytes; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// bits: 8 (the palette above), 16 (5-5-5), 24 or 32, bottom-up unless topDown.
inline QByteArray bmpBytes(int w, int h, int bits, const Pattern& colour, bool topDown = false) {
    const int stride = ((w * bits + 31) / 32) * 4;
    const int offset = 14 + 40 + (bits == 8 ? 256 * 4 : 0);
    QByteArray b(offset + stride * h, '\0');
    const std::pair<int, quint32> fields[] = {
        {0, 0x4D42}, {2, quint32(b.size())}, {10, quint32(offset)},
        {14, 40},    {18, quint32(w)},       {22, quint32(topDown ? -h : h)},
        {26, 1},     {28, quint32(bits)},    {34, quint32(stride * h)}};
    for (const auto& [at, value] : fields) put(b, at, value, at == 0 || at == 26 || at == 28 ? 2 : 4);
    if (bits == 8)
        for (int i = 0; i < 256; ++i) put(b, 54 + 4 * i, paletteColour(qRgb(i, 0, 0)) & 0xFFFFFF, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = colour(x, y);
            const int at = offset + (topDown ? y : h - 1 - y) * stride + x * bits / 8;
            const quint32 rgb555 =
                quint32(((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3));
            put(b, at,
                bits == 8    ? quint32(qRed(c))
                : bits == 16 ? rgb555
                             : c & 0xFFFFFF,
                bits / 8);  // B, G, R
        }
    return b;
}

inline void writeFile(const QString& path, const QByteArray& bytes) { GameInstalls::write(path, bytes); }

inline QImage patternImage(int w, int h, const Pattern& colour) {
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, colour(x, y));
    return image;
}

}  // namespace fixtures
