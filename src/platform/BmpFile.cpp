#include "platform/BmpFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cstring>

#include "platform/FileIO.h"

namespace {
quint32 u32(const QByteArray& b, int at) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (quint32(p[3]) << 24);
}
quint16 u16(const QByteArray& b, int at) {
    const auto* p = reinterpret_cast<const uchar*>(b.constData()) + at;
    return quint16(p[0] | (p[1] << 8));
}
void put32(QByteArray& b, int at, quint32 v) {
    for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
}
void put16(QByteArray& b, int at, quint16 v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

constexpr int kFileHeaderSize = 14;
constexpr int kLargestInfoHeader = 124;

bool depthFitsCompression(int bits, int compression) {
    switch (compression) {
        case 0: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
        case 1: return bits == 8;   // run-length, 8 bits
        case 2: return bits == 4;   // run-length, 4 bits
        case 3: return bits == 16 || bits == 32;  // bit fields
        default: return false;
    }
}

qint64 rowBytes(qint64 width, int bits) { return ((width * bits + 31) / 32) * 4; }
}  // namespace

qint64 maxBmpPixels() {
    constexpr qint64 kBytesPerPixel = 4;
    const int megabytes = QImageReader::allocationLimit();
    return (megabytes > 0 ? qint64(megabytes) : 64) * 1024 * 1024 / kBytesPerPixel;
}

bool bmpSizeAllowed(qint64 width, qint64 height) {
    return width >= 1 && height >= 1 && width <= kMaxBmpSide && height <= kMaxBmpSide &&
           width * height <= maxBmpPixels();
}

std::optional<BmpHeader> parseBmpHeader(const QByteArray& head, qint64 fileSize) {
    if (head.size() < kFileHeaderSize + 12 || head[0] != 'B' || head[1] != 'M') return std::nullopt;
    const quint32 infoSize = u32(head, 14);
    BmpHeader h;
    qint64 width = 0, height = 0;
    int planes = 0;
    if (infoSize == 12) {  // the old core header: 16-bit sizes
        width = u16(head, 18);
        height = qint16(u16(head, 20));
        planes = u16(head, 22);
        h.bitsPerPixel = u16(head, 24);
    } else if (infoSize >= 40 && infoSize <= kLargestInfoHeader) {
        if (head.size() < kFileHeaderSize + 40) return std::nullopt;
        width = qint32(u32(head, 18));
        height = qint32(u32(head, 22));
        planes = u16(head, 26);
        h.bitsPerPixel = u16(head, 28);
        h.compression = int(u32(head, 30));
    } else {
        return std::nullopt;
    }
    if (planes != 1 || !depthFitsCompression(h.bitsPerPixel, h.compression)) return std::nullopt;
    h.topDown = height < 0;
    if (h.topDown) height = -height;
    if (!bmpSizeAllowed(width, height)) return std::nullopt;
    if (h.topDown && (h.compression == 1 || h.compression == 2)) return std::nullopt;
    h.width = int(width);
    h.height = int(height);
    h.pixelOffset = u32(head, 10);
    if (h.pixelOffset < kFileHeaderSize + infoSize || h.pixelOffset >= fileSize) return std::nullopt;
    const bool runLength = h.compression == 1 || h.compression == 2;
    if (!runLength && h.pixelOffset + rowBytes(width, h.bitsPerPixel) * height > fileSize)
        return std::nullopt;  // truncated pixel rows
    if (runLength && fileSize - h.pixelOffset > rowBytes(width, h.bitsPerPixel) * height * 2 + 2 * height + 2)
        return std::nullopt;  // bigger than any run-length coding of such a picture
    return h;
}

std::optional<QImage> readBmpImage(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return std::nullopt;
    const qint64 size = info.size();
    QByteArray head;
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
        head = f.read(kFileHeaderSize + kLargestInfoHeader);
    }
    const auto header = parseBmpHeader(head, size);
    if (!header) return std::nullopt;
    // The header bounds the file: pixel rows of 32 bits plus palette and headers.
    const qint64 bound = qint64(header->pixelOffset) +
                         rowBytes(header->width, 32) * header->height * 2 + 2 * header->height + 2;
    const auto bytes = readWholeFile(path, bound);
    if (!bytes) return std::nullopt;
    QImage image;
    if (!image.loadFromData(*bytes, "BMP")) return std::nullopt;
    if (image.width() != header->width || image.height() != header->height) return std::nullopt;
    return image.convertToFormat(QImage::Format_RGB888);
}

QByteArray encodeBmp24(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    const int w = image.width(), h = image.height();
    const qint64 stride = rowBytes(w, 24);
    const qint64 pixelBytes = stride * h;
    QByteArray out(kFileHeaderSize + 40 + pixelBytes, '\0');
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, quint32(out.size()));
    put32(out, 10, kFileHeaderSize + 40);
    put32(out, 14, 40);
    put32(out, 18, quint32(w));
    put32(out, 22, quint32(h));
    put16(out, 26, 1);
    put16(out, 28, 24);
    put32(out, 34, quint32(pixelBytes));
    put32(out, 38, 2835);  // 72 dots per inch
    put32(out, 42, 2835);
    uchar* base = reinterpret_cast<uchar*>(out.data()) + kFileHeaderSize + 40;
    for (int y = 0; y < h; ++y) {
        const uchar* src = image.constScanLine(y);
        uchar* dst = base + stride * (h - 1 - y);  // bottom line first
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    return out;
}
