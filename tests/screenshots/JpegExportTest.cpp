#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>
#include <jpeglib.h>

#include "BmpFixtures.h"
#include "platform/BmpFile.h"
#include "screenshots/JpegExport.h"
#include "screenshots/PictureRenderer.h"
#include "screenshots/ScreenshotGlobals.h"
#include "state/AppConfig.h"
#include "support/TestSupport.h"

using namespace fixtures;

namespace {
struct DecodedJpeg {
    int width = 0, height = 0, components = 0;
    std::vector<int> sampling;  // horizontal and vertical factor of each component
    bool progressive = true;
    J_COLOR_SPACE space = JCS_UNKNOWN;
    QImage image;
};

DecodedJpeg decodeJpeg(const QByteArray& bytes) {
    DecodedJpeg out;
    jpeg_decompress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), bytes.size());
    jpeg_read_header(&info, TRUE);
    out.width = int(info.image_width);
    out.height = int(info.image_height);
    out.components = info.num_components;
    out.progressive = info.progressive_mode;
    out.space = info.jpeg_color_space;
    for (int c = 0; c < info.num_components; ++c)
        out.sampling.insert(out.sampling.end(), {info.comp_info[c].h_samp_factor, info.comp_info[c].v_samp_factor});
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out.image = QImage(out.width, out.height, QImage::Format_RGB888);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Four flat quadrants, so the colour after encoding can be compared away from edges.
QRgb quadrants(int x, int y) {
    const bool right = x >= 160, bottom = y >= 100;
    if (!right && !bottom) return qRgb(200, 30, 40);
    if (right && !bottom) return qRgb(20, 180, 60);
    if (!right) return qRgb(30, 60, 220);
    return qRgb(240, 240, 20);
}

int channelDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}
}  // namespace

class JpegExport : public ::testing::Test {
protected:
    TempProgramFolder program;
    QTemporaryDir target;
    ScriptedPrompter prompts;
    QString shotsFolder = program.file(QStringLiteral("Shots (2004)")) + '/';
    PictureRenderer renderer;
    QStringList dialogProposals;

    void SetUp() override {
        QDir().mkpath(shotsFolder);
        writeFile(shotsFolder + "Shot0001.BMP", bmpBytes(320, 200, 24, quadrants));
        appConfig() = AppConfig();
        screenshotGlobals() = ScreenshotGlobals();
        ASSERT_TRUE(renderer.LoadPic2(shotsFolder + "Shot0001.BMP"));
    }

    // A dialog that answers with the given folder and name.
    SaveDialogRunner answer(const QString& folder, const QString& name) {
        return [this, folder, name](const QString& proposed) {
            dialogProposals.append(proposed);
            return std::optional<SaveChoice>(SaveChoice{folder, name});
        };
    }

    JpegExportOutcome run(const SaveDialogRunner& dialog, const QString& w = {}, const QString& h = {},
                          const QString& quality = QStringLiteral("100")) {
        return exportPictureAsJpeg({&renderer, QStringLiteral("Shot0001.BMP"), w, h, quality}, dialog);
    }
};

TEST_F(JpegExport, WritesABaselineYCbCrJpegWithOneChromaSamplePer2x2Block) {
    ASSERT_EQ(run(answer(target.path(), QStringLiteral("holiday")), {}, {}, QStringLiteral("90")).result,
              JpegExportResult::Saved);
    EXPECT_EQ(dialogProposals, QStringList{"shot0001.jpg"});
    const QString saved = target.filePath(QStringLiteral("holiday.jpg"));
    ASSERT_TRUE(QFile::exists(saved));
    const DecodedJpeg jpeg = decodeJpeg(readAll(saved));
    // The folder's brackets do not matter: the real picture is exported, not the preview.
    EXPECT_EQ(jpeg.width, 320);
    EXPECT_EQ(jpeg.height, 200);
    EXPECT_EQ(jpeg.components, 3);
    EXPECT_EQ(jpeg.space, JCS_YCbCr);
    EXPECT_FALSE(jpeg.progressive);
    EXPECT_EQ(jpeg.sampling, (std::vector<int>{2, 2, 1, 1, 1, 1}));  // 4:2:0
    for (const QPoint p : {QPoint(40, 30), QPoint(250, 40), QPoint(60, 160), QPoint(300, 190)})
        EXPECT_LE(channelDistance(jpeg.image.pixel(p), quadrants(p.x(), p.y())), 6) << p.x() << "," << p.y();
    // Only the temporary bitmap stays behind; the preview is back.
    EXPECT_FALSE(program.exists(QStringLiteral("vyrntmppic.jpg")));
    EXPECT_TRUE(program.exists(QStringLiteral("vyrntmppic.bmp")));
    EXPECT_EQ(renderer.preview.size(), QSize(601, 416));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_EQ(appConfig().LastSaveFolder, target.path());
}

TEST_F(JpegExport, ResizesAndClampsQuality) {
    ASSERT_EQ(run(answer(target.path(), QStringLiteral("big.jpg")), QStringLiteral("800"), QStringLiteral("600"),
                  QStringLiteral("500")).result,
              JpegExportResult::Saved);
    EXPECT_EQ(screenshotGlobals().JpegQuality, 100);
    const DecodedJpeg big = decodeJpeg(readAll(target.filePath(QStringLiteral("big.jpg"))));
    EXPECT_EQ(big.width, 800);
    EXPECT_EQ(big.height, 600);
    ASSERT_EQ(run(answer(target.path(), QStringLiteral("low")), {}, {}, QStringLiteral("-7")).result,
              JpegExportResult::Saved);
    EXPECT_EQ(screenshotGlobals().JpegQuality, 1);
    EXPECT_LT(QFileInfo(target.filePath(QStringLiteral("low.jpg"))).size(),
              QFileInfo(target.filePath(QStringLiteral("big.jpg"))).size());
}

TEST_F(JpegExport, FirstExportOffersTheProgramFolder) {
    QString offered;
    const auto cancel = [&](const QString&) {
        offered = appConfig().LastSaveFolder;
        return std::optional<SaveChoice>();
    };
    ASSERT_EQ(run(cancel).result, JpegExportResult::Cancelled);
    EXPECT_EQ(offered, program.path() + '/');
    EXPECT_EQ(appConfig().LastSaveDrive, offered.left(2));
    EXPECT_FALSE(program.exists(QStringLiteral("vyrntmppic.jpg")));
    QDir dir(program.path());
    EXPECT_EQ(dir.entryList(QDir::Files), QStringList{"vyrntmppic.bmp"});
    // Save with an empty name is a cancel too.
    EXPECT_EQ(run(answer(target.path(), QString())).result, JpegExportResult::Cancelled);
    EXPECT_TRUE(QDir(target.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(JpegExport, FailuresAreReturnedNotShown) {
    const QString gone = target.filePath(QStringLiteral("no/such/folder"));
    const JpegExportOutcome copy = run(answer(gone, QStringLiteral("x")));
    EXPECT_EQ(copy.result, JpegExportResult::CopyFailed);
    EXPECT_EQ(copy.target, gone + "/x.jpg");

    bool dialogShown = false;
    const auto dialog = [&](const QString&) {
        dialogShown = true;
        return std::optional<SaveChoice>();
    };
    // Beyond the largest picture: refused before any pixel memory is taken.
    const int height = int(maxBmpPixels() / kMaxBmpSide + 1);
    const JpegExportOutcome large = run(dialog, QString::number(kMaxBmpSide), QString::number(height));
    EXPECT_EQ(large.result, JpegExportResult::TooLarge);
    EXPECT_EQ(large.size, QSize(kMaxBmpSide, height));

    PictureRenderer nothingLoaded;
    writeFile(shotsFolder + "broken.bmp", QByteArray("BM garbage"));
    nothingLoaded.LoadPic2(shotsFolder + "broken.bmp");  // shown by path, but not a picture
    EXPECT_EQ(exportPictureAsJpeg({&nothingLoaded, QStringLiteral("broken.bmp"), {}, {}, QStringLiteral("100")},
                                  dialog).result,
              JpegExportResult::EncodeFailed);
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(program.exists(QStringLiteral("vyrntmppic.jpg")));
}

TEST(JpegNames, SavedAndProposedNames) {
    const struct { const char* typed; const char* saved; } cases[] = {
        {"holiday", "/pics/holiday.jpg"},
        {"holiday.jpg", "/pics/holiday.jpg"},
        {"holiday.JPG", "/pics/holiday.JPG.jpg"},
        {"a.jpg.b", "/pics/a.b.jpg"},
    };
    for (const auto& c : cases) EXPECT_EQ(jpegTargetPath("/pics/", c.typed), c.saved) << c.typed;
    EXPECT_EQ(jpegTargetPath("/", "x"), "/x.jpg");
    EXPECT_EQ(proposedJpegName("Shot0001.BMP"), "shot0001.jpg");
    EXPECT_EQ(proposedJpegName("My.bmp.Shot.bmp"), "my.jpg.shot.jpg");
}
