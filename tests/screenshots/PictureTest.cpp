#include <gtest/gtest.h>

#include <QImageIOHandler>
#include <QTemporaryDir>

#include "BmpFixtures.h"
#include "platform/BmpFile.h"
#include "screenshots/ImageOps.h"
#include "screenshots/Bitmap.h"

using namespace fixtures;

TEST(Bitmap, LoadsEveryDepthTheGamesWriteAs24BitBottomUp) {
    QTemporaryDir dir;
    const auto same = [](QRgb c) { return c; };
    // Five bits a channel come back as their top bits, as the platform's own conversion gives.
    const auto top5 = [](QRgb c) { return qRgb(qRed(c) & 0xF8, qGreen(c) & 0xF8, qBlue(c) & 0xF8); };
    const std::tuple<int, bool, std::function<QRgb(QRgb)>> cases[] = {
        {8, false, paletteColour}, {16, false, top5}, {24, false, same}, {24, true, same}, {32, false, same}};
    for (const auto& [bits, topDown, expect] : cases) {
        SCOPED_TRACE(bits);
        writeFile(dir.filePath("shot.bmp"), bmpBytes(13, 7, bits, gradient, topDown));
        Bitmap dib;
        ASSERT_TRUE(dib.load(dir.filePath("shot.bmp")));
        EXPECT_EQ(QSize(dib.width(), dib.height()), QSize(13, 7));
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) {
                const uchar* p =
                    dib.bits() + 40 * (6 - y) + 3 * x;  // bottom-up BGR rows of 40 bytes
                ASSERT_EQ(qRgb(p[2], p[1], p[0]), expect(gradient(x, y))) << x << "," << y;
                ASSERT_EQ(dib.toImage().pixel(x, y), expect(gradient(x, y))) << x << "," << y;
            }
    }
}

TEST(Bitmap, RefusesDamagedAndForeignFilesWithoutTakingMemory) {
    QTemporaryDir dir;
    const QByteArray good = bmpBytes(64, 64, 24, gradient);
    const auto changed = [&](int at, quint32 v, int bytes) {
        QByteArray b = good;
        put(b, at, v, bytes);
        return b;
    };
    QByteArray bigButShort = changed(18, 16000, 4);
    put(bigButShort, 22, 2000, 4);  // an allowed size, but the rows are not in the file
    const std::pair<const char*, QByteArray> cases[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("this is not a picture at all, only text in a .bmp file\r\n")},
        {"png", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(100, 'x')},
        {"header only", good.left(30)},
        {"truncated rows", good.left(good.size() - 100)},
        {"huge", changed(18, 30000, 4)},  // beyond the largest side
        {"big but short", bigButShort},
        {"zero width", changed(18, 0, 4)},
        {"bad depth", changed(28, 7, 2)},
        {"offset past end", changed(10, 0x7FFFFFF0, 4)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        writeFile(dir.filePath("bad.bmp"), bytes);
        Bitmap dib;
        EXPECT_FALSE(dib.load(dir.filePath("bad.bmp")));
        EXPECT_EQ(dib.bits(), nullptr);
        EXPECT_EQ(dib.width(), 0);
    }
    Bitmap dib;
    EXPECT_FALSE(dib.load(dir.filePath("missing.bmp")));
    EXPECT_FALSE(dib.create(100000, 100000, 3));
}

TEST(Bitmap, LargestPictureIsWhatQtWillAllocate) {
    // Qt decodes a 24-bit bitmap into 4 bytes a pixel and refuses anything past its image
    // allocation limit; a header is refused exactly where Qt would refuse the picture.
    const int width = kMaxBmpSide / 2;
    const int height = int(maxBmpPixels() / width);
    for (const int h : {height, height + 1}) {
        QByteArray head = bmpBytes(1, 1, 24, gradient).left(54);
        put(head, 18, quint32(width), 4);
        put(head, 22, quint32(h), 4);
        QImage image;
        const bool qtTakes = QImageIOHandler::allocateImage(QSize(width, h), QImage::Format_RGB32, &image);
        EXPECT_EQ(parseBmpHeader(head, 54 + qint64(width) * 3 * h).has_value(), qtTakes) << h;
        EXPECT_EQ(qtTakes, h == height);
    }
}

TEST(ImageOps, ScalingAveragesTheAreaEachPixelCoversAndBrightnessStaysWithin0To255) {
    const QImage same = patternImage(37, 23, gradient);
    EXPECT_EQ(areaAverageScale(same, same.size()), same);  // pixel exact
    // 4 x 2 -> 2 x 1: each target pixel is the mean of a 2 x 2 block.
    const QImage source = patternImage(4, 2, [](int x, int y) {
        const int v = (y == 0 ? QList{0, 10, 100, 200} : QList{20, 30, 50, 51})[x];
        return qRgb(v, 255 - v, 7);
    });
    const QImage half = areaAverageScale(source, QSize(2, 1));
    EXPECT_EQ(half.pixel(0, 0), qRgb(15, 255 - 15, 7));  // (0+10+20+30)/4
    EXPECT_EQ(qRed(half.pixel(1, 0)), 100);              // (100+200+50+51)/4 = 100.25
    EXPECT_EQ(qGreen(half.pixel(1, 0)), 155);            // 154.75 rounds up
    // Thirds across, halves down: 1/3 and 2/3 average to exactly one half, which rounds up.
    const QImage thirds = patternImage(3, 2, [](int x, int y) { return qRgb(x + y >= 2, 0, 0); });
    EXPECT_EQ(qRed(areaAverageScale(thirds, QSize(1, 1)).pixel(0, 0)), 1);
    const std::tuple<int, int, int> cases[] = {{100, 10, 110}, {250, 10, 255}, {5, -10, 0},
                                               {0, 300, 255},  {255, -300, 0}, {77, 0, 77}};
    for (const auto& [value, amount, expect] : cases) {
        QImage image(2, 1, QImage::Format_RGB888);
        image.fill(qRgb(value, value, 255 - value));
        addBrightness(image, amount);
        EXPECT_EQ(image.pixel(1, 0), qRgb(expect, expect, std::clamp(255 - value + amount, 0, 255))) << value;
    }
}
