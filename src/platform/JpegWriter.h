#pragma once
#include <QByteArray>
#include <QtGlobal>
#include <optional>

// Baseline JPEG in YCbCr with one Cb and one Cr sample per 2 x 2 block of luma samples,
// encoded by libjpeg-turbo from blue-green-red pixel rows.
struct BgrPixels {
    const uchar* bits = nullptr;  // first byte of the first stored row
    int width = 0;
    int height = 0;
    qsizetype stride = 0;         // bytes per stored row, padding included
    bool bottomUp = true;         // rows stored from the bottom line of the picture up
};

// The JPEG file's bytes; nothing when the encoder refused the input. Quality is clamped
// to the encoder's 1..100.
std::optional<QByteArray> encodeJpeg(const BgrPixels& pixels, int quality);
