#pragma once
#include <QImage>
#include <QSize>

// Area-averaging resample: every target pixel is the average of the source area it
// covers, weighted by how much of each source pixel falls inside. The same size gives
// the same pixels. The result is RGB888.
QImage areaAverageScale(const QImage& source, QSize target);

// Adds the amount to each colour channel of every pixel, limited to 0..255.
void addBrightness(QImage& image, int amount);
