// Screenshot viewer: loading a full-HD screenshot, the preview scale and the JPEG export,
// with libjpeg-turbo's own cjpeg on the same bitmap at the same quality as the reference.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/BmpFile.h"
#include "screenshots/ImageOps.h"
#include "screenshots/JpegExport.h"
#include "screenshots/Bitmap.h"

namespace {
constexpr int kQuality = 90;

// A screenshot-like picture: smooth gradients with some fine detail.
QImage screenshotLike() {
    QImage image(1920, 1080, QImage::Format_RGB888);
    quint32 noise = 12345;
    for (int y = 0; y < image.height(); ++y) {
        uchar* p = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            noise = noise * 1103515245u + 12345u;
            const int n = int((noise >> 24) & 0x1F) - 16;
            p[3 * x] = uchar(std::clamp((x * 255) / 1920 + n, 0, 255));
            p[3 * x + 1] = uchar(std::clamp((y * 255) / 1080 + n, 0, 255));
            p[3 * x + 2] = uchar(std::clamp(((x ^ y) & 0xFF) / 2 + 64 + n, 0, 255));
        }
    }
    return image;
}

struct Fixture {
    QTemporaryDir dir;
    QString bmp = dir.filePath(QStringLiteral("Shot0001.bmp"));
    QImage image = screenshotLike();
    Fixture() {
        QFile f(bmp);
        f.open(QIODevice::WriteOnly);
        f.write(encodeBmp24(image));
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_LoadBmp1920x1080(benchmark::State& state) {
    Bitmap dib;
    for (auto _ : state) benchmark::DoNotOptimize(dib.load(fixture().bmp));
}
BENCHMARK(BM_LoadBmp1920x1080)->Unit(benchmark::kMillisecond);

void BM_PreviewScale601x416(benchmark::State& state) {
    const QImage& source = fixture().image;
    for (auto _ : state) benchmark::DoNotOptimize(areaAverageScale(source, QSize(601, 416)));
}
BENCHMARK(BM_PreviewScale601x416)->Unit(benchmark::kMillisecond);

void BM_JpegEncodeFromDib(benchmark::State& state) {
    Bitmap dib;
    dib.load(fixture().bmp);
    const QString out = fixture().dir.filePath(QStringLiteral("ours.jpg"));
    for (auto _ : state) benchmark::DoNotOptimize(writeJpegFile(dib, out, kQuality));
}
BENCHMARK(BM_JpegEncodeFromDib)->Unit(benchmark::kMillisecond);

// The same work cjpeg does: read the bitmap file, encode, write the JPEG file.
void BM_BmpFileToJpegFile(benchmark::State& state) {
    const QString out = fixture().dir.filePath(QStringLiteral("ours.jpg"));
    for (auto _ : state) {
        Bitmap dib;
        dib.load(fixture().bmp);
        benchmark::DoNotOptimize(writeJpegFile(dib, out, kQuality));
    }
}
BENCHMARK(BM_BmpFileToJpegFile)->Unit(benchmark::kMillisecond);

// Reference: libjpeg-turbo's cjpeg, process start included.
void BM_CjpegReference(benchmark::State& state) {
    const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
    if (cjpeg.isEmpty()) {
        state.SkipWithError("cjpeg not installed (libjpeg-turbo-progs)");
        return;
    }
    const QString out = fixture().dir.filePath(QStringLiteral("cjpeg.jpg"));
    const QStringList args{QStringLiteral("-quality"), QString::number(kQuality), QStringLiteral("-sample"),
                           QStringLiteral("2x2"), QStringLiteral("-outfile"), out, fixture().bmp};
    for (auto _ : state) {
        QProcess p;
        p.start(cjpeg, args);
        p.waitForFinished(-1);
        if (p.exitCode() != 0) state.SkipWithError("cjpeg failed");
    }
}
BENCHMARK(BM_CjpegReference)->Unit(benchmark::kMillisecond);

// Process start alone, to read the reference without it.
void BM_ProcessStartOnly(benchmark::State& state) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("true"));
    for (auto _ : state) {
        QProcess p;
        p.start(tool, {});
        p.waitForFinished(-1);
    }
}
BENCHMARK(BM_ProcessStartOnly)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Sizes of the two files, for comparing what each encoder makes at the same quality.
    const qint64 ours = QFile(fixture().dir.filePath(QStringLiteral("ours.jpg"))).size();
    const qint64 theirs = QFile(fixture().dir.filePath(QStringLiteral("cjpeg.jpg"))).size();
    QFile a(fixture().dir.filePath(QStringLiteral("ours.jpg"))), b(fixture().dir.filePath(QStringLiteral("cjpeg.jpg")));
    const bool same = a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && a.readAll() == b.readAll();
    std::printf("JPEG size at quality %d: ours %lld bytes, cjpeg %lld bytes, %s\n", kQuality, ours, theirs,
                same ? "byte for byte the same" : "different bytes");
    return 0;
}
