#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>

#include "BmpFixtures.h"
#include "platform/BmpFile.h"
#include "screenshots/ImageOps.h"
#include "screenshots/PictureRenderer.h"
#include "support/TestSupport.h"

using namespace fixtures;

TEST(AreaAverage, EachTargetPixelAveragesTheAreaItCovers) {
    const QImage same = patternImage(37, 23, gradient);
    EXPECT_EQ(areaAverageScale(same, same.size()), same);  // pixel exact
    // 4 x 2 -> 2 x 1: each target pixel is the mean of a 2 x 2 block.
    QImage source(4, 2, QImage::Format_RGB888);
    const int values[2][4] = {{0, 10, 100, 200}, {20, 30, 50, 51}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) source.setPixel(x, y, qRgb(values[y][x], 255 - values[y][x], 7));
    const QImage half = areaAverageScale(source, QSize(2, 1));
    EXPECT_EQ(qRed(half.pixel(0, 0)), 15);         // (0+10+20+30)/4
    EXPECT_EQ(qRed(half.pixel(1, 0)), 100);        // (100+200+50+51)/4 = 100.25
    EXPECT_EQ(qGreen(half.pixel(0, 0)), 255 - 15);
    EXPECT_EQ(qBlue(half.pixel(1, 0)), 7);
    // A flat colour stays flat at any size.
    QImage flat(1920, 1080, QImage::Format_RGB888);
    flat.fill(qRgb(12, 200, 99));
    const QImage preview = areaAverageScale(flat, QSize(601, 416));
    EXPECT_EQ(preview.size(), QSize(601, 416));
    EXPECT_EQ(preview.pixel(0, 0), qRgb(12, 200, 99));
    EXPECT_EQ(preview.pixel(600, 415), qRgb(12, 200, 99));
}

TEST(Brightness, AddsToEveryChannelWithinZeroTo255) {
    const struct { int value, amount, expect; } cases[] = {
        {100, 10, 110}, {250, 10, 255}, {5, -10, 0}, {0, 300, 255}, {255, -300, 0}, {77, 0, 77}};
    for (const auto& c : cases) {
        QImage image(2, 1, QImage::Format_RGB888);
        image.fill(qRgb(c.value, c.value, 255 - c.value));
        addBrightness(image, c.amount);
        EXPECT_EQ(qRed(image.pixel(1, 0)), c.expect) << c.value << " + " << c.amount;
        EXPECT_EQ(qBlue(image.pixel(1, 0)), std::clamp(255 - c.value + c.amount, 0, 255));
    }
}

class Renderer : public ::testing::Test {
protected:
    TempProgramFolder program;
    QString shot = program.file(QStringLiteral("Shot0001.bmp"));
    QImage source = patternImage(320, 200, gradient);
    void SetUp() override { writeFile(shot, bmpBytes(320, 200, 24, gradient)); }
};

TEST_F(Renderer, PreviewIs601By416WithCaptionAndDate) {
    PictureRenderer r;
    ASSERT_TRUE(r.LoadPic2(shot));
    EXPECT_EQ(r.preview.size(), QSize(601, 416));
    EXPECT_EQ(r.PictureWidth, 320);
    EXPECT_EQ(r.PictureHeight, 200);
    const QString date = generalDateText(QFileInfo(shot).lastModified());
    EXPECT_EQ(r.caption, "VYRN Screen shot preview - (" + shot + ") " + date);
    EXPECT_EQ(generalDateText(QDateTime(QDate(2004, 3, 7), QTime(21, 5, 12))), "3/7/2004 9:05:12 PM");
    EXPECT_EQ(r.shownPath, shot);

    // A vanished file changes nothing.
    const QImage before = r.preview;
    EXPECT_FALSE(r.LoadPic2(program.file(QStringLiteral("gone.bmp"))));
    EXPECT_EQ(r.preview, before);
    EXPECT_EQ(r.shownPath, shot);
}

TEST_F(Renderer, SaveSizeIsOwnSizeOrExactlyTheTypedOne) {
    PictureRenderer r;
    using R = PictureRenderer::SaveRender;
    ASSERT_EQ(r.LoadPic(shot, QString(), QString()), R::Drawn);
    EXPECT_EQ(r.pic2, source);  // pixel for pixel
    EXPECT_EQ(r.caption, "VYRN Screen shot preview - (" + shot + ")");
    ASSERT_EQ(r.LoadPic(shot, QStringLiteral("800"), QStringLiteral("600")), R::Drawn);
    EXPECT_EQ(r.pic2.size(), QSize(800, 600));
    ASSERT_EQ(r.LoadPic(shot, QStringLiteral("160"), QString()), R::Drawn);
    EXPECT_EQ(r.pic2.size(), QSize(160, 200));
    ASSERT_EQ(r.LoadPic(shot, QStringLiteral("100.5"), QStringLiteral("-3")), R::Drawn);
    EXPECT_EQ(r.pic2.size(), QSize(100, 1));  // halves to even; sizes start at 1
    // Beyond the largest side: refused with the size as typed.
    EXPECT_EQ(r.LoadPic(shot, QStringLiteral("20000"), QStringLiteral("10")), R::TooLarge);
    EXPECT_EQ(r.saveSize, QSize(20000, 10));
}

TEST_F(Renderer, ChangesAddUpThroughTheTemporaryPicture) {
    PictureRenderer r;
    ASSERT_TRUE(r.LoadPic2(shot));
    ASSERT_EQ(r.Change(QStringLiteral("10")), PictureRenderer::ChangeResult::Changed);
    ASSERT_EQ(r.Change(QStringLiteral("10")), PictureRenderer::ChangeResult::Changed);
    EXPECT_TRUE(program.exists(QStringLiteral("vyrntmppic.bmp")));
    EXPECT_EQ(r.shownPath, tempPicturePath());
    EXPECT_EQ(r.BrightnessAmount, 10);
    QImage expected = source;
    addBrightness(expected, 20);
    EXPECT_EQ(r.pic1, expected);
    const auto file = readBmpImage(tempPicturePath());
    ASSERT_TRUE(file);
    EXPECT_EQ(*file, expected);
    // "Default" reads the unadjusted file again.
    ASSERT_TRUE(r.LoadPic2(shot));
    EXPECT_EQ(r.pic1, source);
    EXPECT_TRUE(r.caption.contains(shot));

    PictureRenderer empty;
    EXPECT_EQ(empty.Change(QStringLiteral("10")), PictureRenderer::ChangeResult::NothingShown);
}
