#include <gtest/gtest.h>

#include <QImageIOHandler>
#include <QTemporaryDir>

#include "BmpFixtures.h"
#include "platform/BmpFile.h"
#include "screenshots/JpegExport.h"
#include "screenshots/cDIBSection.h"

using namespace fixtures;

namespace {
// Pixel (x, y) of the picture (y from the top) as the bottom-up BGR rows hold it.
QRgb dibPixel(const cDIBSection& dib, int x, int y) {
    const uchar* p = dib.DIBSectionBitsPtr() + size_t(dib.BytesPerScanLine()) * (dib.dib_height() - 1 - y) + 3 * x;
    return qRgb(p[2], p[1], p[0]);
}

}  // namespace

TEST(Bitmap, LoadsEveryDepthTheGamesWriteAs24BitBottomUp) {
    QTemporaryDir dir;
    struct Case { int bits; bool topDown; Pattern pattern; std::function<QRgb(QRgb)> expect; };
    const Case cases[] = {
        {8, false, gradient, paletteColour},
        // Five bits a channel come back as their top bits, as the platform's own conversion gives.
        {16, false, gradient, [](QRgb c) { return qRgb(qRed(c) & 0xF8, qGreen(c) & 0xF8, qBlue(c) & 0xF8); }},
        {24, false, gradient, [](QRgb c) { return c; }},
        {24, true, gradient, [](QRgb c) { return c; }},
        {32, false, gradient, [](QRgb c) { return c; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        const QString path = dir.filePath(QStringLiteral("shot%1.bmp").arg(c.bits));
        writeFile(path, bmpBytes(13, 7, c.bits, c.pattern, c.topDown));
        cDIBSection dib;
        ASSERT_TRUE(dib.Load(path));
        EXPECT_EQ(dib.dib_width(), 13);
        EXPECT_EQ(dib.dib_height(), 7);
        EXPECT_EQ(dib.dib_channels(), 3);
        EXPECT_EQ(dib.BytesPerScanLine(), 40);  // 39 padded to 4
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) ASSERT_EQ(dibPixel(dib, x, y), c.expect(c.pattern(x, y))) << x << "," << y;
    }
}

TEST(Bitmap, RefusesDamagedAndForeignFilesWithoutTakingMemory) {
    QTemporaryDir dir;
    const QByteArray good = bmpBytes(64, 64, 24, gradient);
    QByteArray huge = good;
    put(huge, 18, 30000, 4);  // beyond the largest side
    QByteArray bigButShort = good;
    put(bigButShort, 18, 16000, 4);
    put(bigButShort, 22, 2000, 4);  // allowed size, but the rows are not in the file
    QByteArray zeroWidth = good;
    put(zeroWidth, 18, 0, 4);
    QByteArray badDepth = good;
    put(badDepth, 28, 7, 2);
    QByteArray badOffset = good;
    put(badOffset, 10, 0x7FFFFFF0, 4);
    const struct { const char* name; QByteArray bytes; } cases[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("this is not a picture at all, only text in a .bmp file\r\n")},
        {"png", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(100, 'x')},
        {"header only", good.left(30)},
        {"truncated rows", good.left(good.size() - 100)},
        {"huge", huge},
        {"big but short", bigButShort},
        {"zero width", zeroWidth},
        {"bad depth", badDepth},
        {"offset past end", badOffset},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QStringLiteral("bad.bmp"));
        writeFile(path, c.bytes);
        cDIBSection dib;
        EXPECT_FALSE(dib.Load(path));
        EXPECT_EQ(dib.DIBSectionBitsPtr(), nullptr);
        EXPECT_EQ(dib.dib_width(), 0);
    }
    cDIBSection dib;
    EXPECT_FALSE(dib.Load(dir.filePath(QStringLiteral("missing.bmp"))));
    EXPECT_FALSE(dib.Create(100000, 100000, 3));
}

TEST(Bitmap, LargestPictureIsWhatQtWillAllocate) {
    // Qt decodes a 24-bit bitmap into 4 bytes a pixel and refuses anything past its image
    // allocation limit; a header is refused exactly where Qt would refuse the picture.
    const int width = kMaxBmpSide / 2;
    const int height = int(maxBmpPixels() / width);
    for (const int h : {height, height + 1}) {
        QByteArray head = bmpBytes(1, 1, 24, gradient).left(54);
        head[22] = char(h & 0xFF);
        head[23] = char((h >> 8) & 0xFF);
        head[18] = char(width & 0xFF);
        head[19] = char((width >> 8) & 0xFF);
        const qint64 fileSize = 54 + qint64(width) * 3 * h;
        QImage image;
        const bool qtAllocates = QImageIOHandler::allocateImage(QSize(width, h), QImage::Format_RGB32, &image);
        EXPECT_EQ(parseBmpHeader(head, fileSize).has_value(), qtAllocates) << width << " x " << h;
        EXPECT_EQ(qtAllocates, h == height);
    }
}
