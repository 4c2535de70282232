#include "screenshots/Bitmap.h"

#include "platform/BmpFile.h"

bool Bitmap::create(int width, int height, int channels) {
    clear();
    if (!bmpSizeAllowed(width, height)) return false;
    width_ = width;
    height_ = height;
    bitsPerPixel_ = channels == 3 ? 24 : 32;
    bits_.assign(size_t(bytesPerRow()) * size_t(height_), 0);
    return true;
}

bool Bitmap::load(const QString& path) {
    clear();
    const auto image = readBmpImage(path);
    return image && fromImage(*image);
}

bool Bitmap::fromImage(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    if (!create(image.width(), image.height(), 3)) return false;
    const int stride = bytesPerRow();
    for (int y = 0; y < height_; ++y) {
        const uchar* src = image.constScanLine(y);
        uchar* dst = bits_.data() + size_t(stride) * size_t(height_ - 1 - y);
        for (int x = 0; x < width_; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    return true;
}

QImage Bitmap::toImage() const {
    if (bits_.empty() || bitsPerPixel_ != 24) return QImage();
    QImage image(width_, height_, QImage::Format_RGB888);
    const int stride = bytesPerRow();
    for (int y = 0; y < height_; ++y) {
        const uchar* src = bits_.data() + size_t(stride) * size_t(height_ - 1 - y);
        uchar* dst = image.scanLine(y);
        for (int x = 0; x < width_; ++x) {
            dst[3 * x] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x];
        }
    }
    return image;
}

void Bitmap::clear() {
    width_ = height_ = bitsPerPixel_ = 0;
    bits_.clear();
    bits_.shrink_to_fit();
}
