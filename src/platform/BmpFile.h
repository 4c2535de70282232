#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

// Windows bitmap files as the games write them: 1, 4, 8, 16, 24 or 32 bits per pixel,
// with or without palette, uncompressed, run-length or bit-field coded.

// Largest picture we accept; anything beyond is refused before any pixel memory is taken.
inline constexpr int kMaxBmpSide = 16384;
// Qt decodes a bitmap at up to 4 bytes a pixel and refuses any picture beyond its image
// allocation limit, so that limit sets the largest picture: 33,554,432 pixels at Qt's
// 128 MB. Where the limit is switched off, 64 MB of pixels.
qint64 maxBmpPixels();
// True for a picture of this size: 1 to kMaxBmpSide on each side, maxBmpPixels() in all.
bool bmpSizeAllowed(qint64 width, qint64 height);

struct BmpHeader {
    int width = 0;
    int height = 0;  // always positive; topDown tells the row order
    bool topDown = false;
    int bitsPerPixel = 0;
    int compression = 0;
    quint32 pixelOffset = 0;
};

// Checks the file and info headers against the file's size: "BM" signature, known header
// size, sane dimensions, known depth/compression pairs, pixel rows present in full.
std::optional<BmpHeader> parseBmpHeader(const QByteArray& head, qint64 fileSize);

// Reads and decodes a bitmap file into RGB888; nothing for a missing, truncated, oversized
// or non-bitmap file.
std::optional<QImage> readBmpImage(const QString& path);

// A 24-bit bottom-up bitmap file of the picture (rows padded to 4 bytes).
QByteArray encodeBmp24(const QImage& image);
