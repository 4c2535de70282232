#include "screenshots/PictureRenderer.h"

#include <QFileInfo>
#include <QLocale>

#include <limits>

#include "platform/BmpFile.h"
#include "platform/FileIO.h"
#include "screenshots/ImageOps.h"
#include "screenshots/NumericText.h"
#include "state/ProgramFolder.h"

namespace {
const QString kCaptionStart = QStringLiteral("VYRN Screen shot preview - (");

// The typed size. A side left empty follows the other in the picture's proportions; with
// both empty the picture keeps its own size. Sizes beyond the largest side stay as typed,
// so the refusal names what the user asked for.
QSize sizeFromFields(const QString& widthText, const QString& heightText, QSize own) {
    constexpr int kMax = std::numeric_limits<int>::max();
    const auto w = numberInText(widthText), h = numberInText(heightText);
    if (w && h) return {roundToRange(*w, 1, kMax), roundToRange(*h, 1, kMax)};
    if (w) return {roundToRange(*w, 1, kMax), roundToRange(*w * own.height() / own.width(), 1, kMax)};
    if (h) return {roundToRange(*h * own.width() / own.height(), 1, kMax), roundToRange(*h, 1, kMax)};
    return own;
}
}  // namespace

QString generalDateText(const QDateTime& when) {
    return QLocale::c().toString(when, QStringLiteral("M/d/yyyy h:mm:ss AP"));
}

QString tempPicturePath() { return programFile(QStringLiteral("vyrntmppic.bmp")); }

void PictureRenderer::clear() {
    fullPicture = QImage();
    scaledPicture = QImage();
}

bool PictureRenderer::renderPreview(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return false;
    caption = kCaptionStart + path + QStringLiteral(") ") + generalDateText(info.lastModified());
    shownPath = path;
    clear();
    preview = QImage();
    const auto image = readBmpImage(path);
    if (!image) return false;
    fullPicture = *image;
    pictureWidth = fullPicture.width();
    pictureHeight = fullPicture.height();
    // As large as the preview allows, in the picture's own proportions.
    scaledPicture =
        areaAverageScale(fullPicture, fullPicture.size()
                                          .scaled(kPreviewWidth, kPreviewHeight, Qt::KeepAspectRatio)
                                          .expandedTo(QSize(1, 1)));
    preview = scaledPicture;
    return true;
}

PictureRenderer::SaveRender PictureRenderer::renderAtSaveSize(const QString& path, const QString& widthText,
                                                              const QString& heightText) {
    if (!QFileInfo(path).isFile()) return SaveRender::NotDrawn;
    caption = kCaptionStart + path + QStringLiteral(")");
    clear();
    const auto image = readBmpImage(path);
    if (!image) return SaveRender::NotDrawn;
    fullPicture = *image;
    pictureWidth = fullPicture.width();
    pictureHeight = fullPicture.height();
    saveSize = sizeFromFields(widthText, heightText, fullPicture.size());
    if (!bmpSizeAllowed(saveSize.width(), saveSize.height())) return SaveRender::TooLarge;
    scaledPicture = saveSize == fullPicture.size() ? fullPicture : areaAverageScale(fullPicture, saveSize);
    preview = scaledPicture;
    return SaveRender::Drawn;
}

PictureRenderer::ChangeResult PictureRenderer::changeBrightness(const QString& amountText) {
    if (fullPicture.isNull()) return ChangeResult::NothingShown;
    const auto n = numberInText(amountText);
    brightnessAmount =
        n ? roundToRange(*n, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()) : 0;
    QImage adjusted = fullPicture;
    addBrightness(adjusted, brightnessAmount);
    if (!writeFileAtomically(tempPicturePath(), encodeBmp24(adjusted))) return ChangeResult::TempNotWritten;
    renderPreview(tempPicturePath());
    return ChangeResult::Changed;
}
