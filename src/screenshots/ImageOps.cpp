#include "screenshots/ImageOps.h"

#include <algorithm>
#include <vector>

namespace {
// Source pixels overlapping one target pixel along an axis, with the overlap lengths.
// In units where a source pixel is `to` long and a target pixel `from` long, overlaps
// of one target pixel add up to `from`.
struct Span {
    int first = 0;
    std::vector<int> weights;
};

std::vector<Span> spansFor(int from, int to) {
    std::vector<Span> spans(static_cast<size_t>(to));
    for (int t = 0; t < to; ++t) {
        const qint64 start = qint64(t) * from, end = qint64(t + 1) * from;
        Span& s = spans[size_t(t)];
        s.first = int(start / to);
        for (qint64 i = s.first; i * to < end; ++i) {
            const qint64 lo = std::max(start, i * to), hi = std::min(end, (i + 1) * to);
            if (hi > lo) s.weights.push_back(int(hi - lo));
        }
    }
    return spans;
}
}  // namespace

QImage areaAverageScale(const QImage& sourceAny, QSize target) {
    if (sourceAny.isNull() || target.width() < 1 || target.height() < 1) return QImage();
    const QImage source = sourceAny.convertToFormat(QImage::Format_RGB888);
    const int sw = source.width(), sh = source.height();
    const int tw = target.width(), th = target.height();
    const auto xs = spansFor(sw, tw);
    const auto ys = spansFor(sh, th);

    // Horizontal pass into 8.8 fixed point (value x 256) per channel, one row per source row.
    std::vector<quint16> rows(size_t(sh) * size_t(tw) * 3);
    for (int y = 0; y < sh; ++y) {
        const uchar* src = source.constScanLine(y);
        quint16* dst = rows.data() + size_t(y) * size_t(tw) * 3;
        for (int x = 0; x < tw; ++x) {
            const Span& s = xs[size_t(x)];
            quint32 r = 0, g = 0, b = 0;
            const uchar* p = src + 3 * s.first;
            for (int w : s.weights) {
                r += quint32(p[0]) * w;
                g += quint32(p[1]) * w;
                b += quint32(p[2]) * w;
                p += 3;
            }
            const quint32 half = quint32(sw) / 2;
            dst[3 * x] = quint16((quint64(r) * 256 + half) / quint32(sw));
            dst[3 * x + 1] = quint16((quint64(g) * 256 + half) / quint32(sw));
            dst[3 * x + 2] = quint16((quint64(b) * 256 + half) / quint32(sw));
        }
    }

    QImage out(tw, th, QImage::Format_RGB888);
    const quint64 divisor = quint64(sh) * 256;
    std::vector<quint64> acc(size_t(tw) * 3);
    for (int y = 0; y < th; ++y) {
        const Span& s = ys[size_t(y)];
        std::fill(acc.begin(), acc.end(), 0);
        int row = s.first;
        for (int w : s.weights) {
            const quint16* src = rows.data() + size_t(row) * size_t(tw) * 3;
            for (size_t i = 0; i < acc.size(); ++i) acc[i] += quint64(src[i]) * quint64(w);
            ++row;
        }
        uchar* dst = out.scanLine(y);
        for (size_t i = 0; i < acc.size(); ++i)
            dst[i] = uchar(std::min<quint64>(255, (acc[i] + divisor / 2) / divisor));
    }
    return out;
}

void addBrightness(QImage& image, int amount) {
    if (image.isNull()) return;
    if (image.format() != QImage::Format_RGB888) image = image.convertToFormat(QImage::Format_RGB888);
    uchar table[256];
    for (int v = 0; v < 256; ++v) table[v] = uchar(std::clamp<qint64>(qint64(v) + amount, 0, 255));
    const int bytes = image.width() * 3;
    for (int y = 0; y < image.height(); ++y) {
        uchar* p = image.scanLine(y);
        for (int i = 0; i < bytes; ++i) p[i] = table[p[i]];
    }
}
