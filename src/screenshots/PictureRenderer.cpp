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

// A typed size, or the picture's own where the field holds no number. Sizes beyond the
// largest side stay as typed, so the refusal names what the user asked for.
int sizeFromField(const QString& text, int own) {
    const auto n = numberInText(text);
    return n ? roundToRange(*n, 1, std::numeric_limits<int>::max()) : own;
}
}  // namespace

QString generalDateText(const QDateTime& when) {
    return QLocale::c().toString(when, QStringLiteral("M/d/yyyy h:mm:ss AP"));
}

QString tempPicturePath() { return programFile(QStringLiteral("vyrntmppic.bmp")); }

void PictureRenderer::clear() {
    pic1 = QImage();
    pic2 = QImage();
}

bool PictureRenderer::LoadPic2(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return false;
    caption = kCaptionStart + path + QStringLiteral(") ") + generalDateText(info.lastModified());
    shownPath = path;
    clear();
    preview = QImage();
    const auto image = readBmpImage(path);
    if (!image) return false;
    pic1 = *image;
    PictureWidth = pic1.width();
    PictureHeight = pic1.height();
    pic2 = areaAverageScale(pic1, QSize(kPreviewWidth, kPreviewHeight));
    preview = pic2;
    return true;
}

PictureRenderer::SaveRender PictureRenderer::LoadPic(const QString& path, const QString& widthText,
                                                     const QString& heightText) {
    if (!QFileInfo(path).isFile()) return SaveRender::NotDrawn;
    caption = kCaptionStart + path + QStringLiteral(")");
    clear();
    const auto image = readBmpImage(path);
    if (!image) return SaveRender::NotDrawn;
    pic1 = *image;
    PictureWidth = pic1.width();
    PictureHeight = pic1.height();
    saveSize = QSize(sizeFromField(widthText, PictureWidth), sizeFromField(heightText, PictureHeight));
    if (!bmpSizeAllowed(saveSize.width(), saveSize.height())) return SaveRender::TooLarge;
    pic2 = saveSize == pic1.size() ? pic1 : areaAverageScale(pic1, saveSize);
    preview = pic2;
    return SaveRender::Drawn;
}

PictureRenderer::ChangeResult PictureRenderer::Change(const QString& amountText) {
    if (pic1.isNull()) return ChangeResult::NothingShown;
    const auto n = numberInText(amountText);
    BrightnessAmount = n ? roundToRange(*n, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()) : 0;
    QImage adjusted = pic1;
    addBrightness(adjusted, BrightnessAmount);
    if (!writeFileAtomically(tempPicturePath(), encodeBmp24(adjusted))) return ChangeResult::TempNotWritten;
    LoadPic2(tempPicturePath());
    return ChangeResult::Changed;
}
