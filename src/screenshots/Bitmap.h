#pragma once
#include <QImage>
#include <QString>
#include <vector>

// An uncompressed device-independent bitmap: rows from the bottom line of the picture to
// the top, pixels blue-green-red (a fourth byte at 32 bits), each row padded to 4 bytes.
class Bitmap {
public:
    // An empty bitmap of the given size; channels 3 gives 24 bits, anything else 32.
    bool Create(int lWidth, int lHeight, int lChannels);
    // Any bitmap file the games write, converted to 24 bits; false (and empty) for a file
    // that is missing, damaged or not a bitmap.
    bool Load(const QString& Name);
    void CleanUp();

    int BytesPerScanLine() const { return ((bitsPerPixel_ / 8) * width_ + 3) & ~3; }
    int dib_width() const { return width_; }
    int dib_height() const { return height_; }
    int dib_channels() const { return bitsPerPixel_ / 8; }
    const uchar* DIBSectionBitsPtr() const { return bits_.empty() ? nullptr : bits_.data(); }
    uchar* DIBSectionBitsPtr() { return bits_.empty() ? nullptr : bits_.data(); }

    // The 24-bit picture as a top-down RGB888 image (for showing it).
    QImage toImage() const;
    // Replaces the bitmap with the picture, at 24 bits.
    bool FromImage(const QImage& image);

private:
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    std::vector<uchar> bits_;
};
