#pragma once
#include <QImage>
#include <QString>
#include <vector>

// An uncompressed device-independent bitmap: rows from the bottom line of the picture to
// the top, pixels blue-green-red (a fourth byte at 32 bits), each row padded to 4 bytes.
class Bitmap {
public:
    // An empty bitmap of the given size; channels 3 gives 24 bits, anything else 32.
    bool create(int width, int height, int channels);
    // Any bitmap file the games write, converted to 24 bits; false (and empty) for a file
    // that is missing, damaged or not a bitmap.
    bool load(const QString& path);
    void clear();

    int bytesPerRow() const { return ((bitsPerPixel_ / 8) * width_ + 3) & ~3; }
    int width() const { return width_; }
    int height() const { return height_; }
    int channels() const { return bitsPerPixel_ / 8; }
    const uchar* bits() const { return bits_.empty() ? nullptr : bits_.data(); }
    uchar* bits() { return bits_.empty() ? nullptr : bits_.data(); }

    // The 24-bit picture as a top-down RGB888 image (for showing it).
    QImage toImage() const;
    // Replaces the bitmap with the picture, at 24 bits.
    bool fromImage(const QImage& image);

private:
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    std::vector<uchar> bits_;
};
