#include "screenshots/JpegExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <limits>

#include "platform/BmpFile.h"
#include "platform/FileIO.h"
#include "platform/JpegWriter.h"
#include "platform/Prompter.h"
#include "screenshots/NumericText.h"
#include "screenshots/PictureRenderer.h"
#include "screenshots/Bitmap.h"
#include "state/AppConfig.h"
#include "state/ProgramFolder.h"

int bitmapRowPadding(int width, int channels) {
    qint64 bytes = qint64(width) * channels;
    if (bytes > std::numeric_limits<int>::max() - 3) return -1;
    return int(((bytes + 3) & ~qint64(3)) - bytes);
}

QString writeJpegFile(const Bitmap& dib, const QString& path, int quality) {
    if (dib.channels() != 3 || !dib.bits()) return QStringLiteral("no 24-bit picture to encode");
    BgrPixels pixels{dib.bits(), dib.width(), dib.height(), dib.bytesPerRow(), true};
    const auto jpeg = encodeJpeg(pixels, quality);
    return jpeg ? writeFileAtomicallyWithReason(path, *jpeg) : QStringLiteral("the JPEG encoder failed");
}

QString proposedJpegName(const QString& listEntry) {
    return listEntry.toLower().replace(QLatin1String(".bmp"), QLatin1String(".jpg"));
}

QString jpegTargetPath(const QString& folder, const QString& typedName) {
    QString path = folder + QDir::separator() + typedName;
    const QString doubled = QString(QDir::separator()) + QDir::separator();
    while (path.contains(doubled)) path.replace(doubled, QString(QDir::separator()));
    if (path.endsWith(QLatin1String(".jpg"), Qt::CaseSensitive)) return path;
    return path + QLatin1String(".jpg");
}

QString defaultSaveFolder() {
    const QString fromEnvironment = qEnvironmentVariable("XDG_PICTURES_DIR");
    for (const QString& folder :
         {fromEnvironment, QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)})
        if (QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir()) return QDir::cleanPath(folder);
    return QDir::homePath();
}

QString tempJpegPath() { return programFile(QStringLiteral("vyrntmppic.jpg")); }

namespace {
QString withSingleSeparators(QString folder) {
    folder += QDir::separator();
    const QString doubled = QString(QDir::separator()) + QDir::separator();
    while (folder.contains(doubled)) folder.replace(doubled, QString(QDir::separator()));
    return folder;
}
}  // namespace

JpegExportOutcome exportPictureAsJpeg(const JpegExportRequest& request, const SaveDialogRunner& runDialog) {
    PictureRenderer& renderer = *request.renderer;
    // The picture on show comes from the viewer's own state, so folders with brackets work.
    const QString shownPath = renderer.shownPath;
    if (shownPath.isEmpty() || request.listEntry.isEmpty()) return {};
    const auto rendered = renderer.renderAtSaveSize(shownPath, request.widthText, request.heightText);

    const auto qualityNumber = numberInText(request.qualityText);
    const int quality = qualityNumber ? int(roundToRange(*qualityNumber, 1, 100)) : 100;

    QFile::remove(tempJpegPath());
    Bitmap dib;
    // What went wrong with a temporary file; empty when there was no picture to encode.
    QString reason;
    const auto failed = [&reason](const QString& path, const QString& why) {
        if (!why.isEmpty())
            reason = QStringLiteral("Could not write ") + path + QStringLiteral(": ") + why + '.';
        return !why.isEmpty();
    };
    const bool encoded =
        rendered == PictureRenderer::SaveRender::Drawn && !renderer.scaledPicture.isNull() &&
        !failed(tempPicturePath(),
                writeFileAtomicallyWithReason(tempPicturePath(), encodeBmp24(renderer.scaledPicture))) &&
        dib.load(tempPicturePath()) && !failed(tempJpegPath(), writeJpegFile(dib, tempJpegPath(), quality));
    if (!encoded) {
        QFile::remove(tempJpegPath());
        renderer.renderPreview(shownPath);
        if (rendered == PictureRenderer::SaveRender::TooLarge)
            return {JpegExportResult::TooLarge, QString(), renderer.saveSize};
        return {JpegExportResult::EncodeFailed, QString(), QSize(), reason};
    }

    AppConfig& config = appConfig();
    if (config.lastSaveFolder.isEmpty() || !QFileInfo(config.lastSaveFolder).isDir())
        config.lastSaveFolder = defaultSaveFolder() + QDir::separator();
    config.lastSaveFolder = withSingleSeparators(config.lastSaveFolder);
    config.lastSaveDrive = config.lastSaveFolder.left(2);

    const auto choice = runDialog(proposedJpegName(request.listEntry));
    if (choice) config.lastSaveFolder = choice->folder;

    JpegExportOutcome outcome{JpegExportResult::Cancelled};
    if (choice && !choice->name.isEmpty() && !choice->folder.isEmpty()) {
        outcome.target = jpegTargetPath(choice->folder, choice->name);
        Message replace{outcome.target + QStringLiteral(" already exists.\r\nDo you want to replace it?"),
                        MsgIcon::Exclamation, QStringLiteral("Confirm Save As"), MsgButtons::YesNo};
        replace.defaultButton = MsgAnswer::No;
        if (!QFileInfo::exists(outcome.target) || prompter().ask(replace) == MsgAnswer::Yes) {
            const FileRead jpeg = readFile(tempJpegPath());
            outcome.reason = jpeg.outcome == ReadOutcome::Read
                                 ? writeFileAtomicallyWithReason(outcome.target, jpeg.bytes)
                                 : jpeg.reason + QStringLiteral(" (reading ") + tempJpegPath() + ')';
            outcome.result =
                outcome.reason.isEmpty() ? JpegExportResult::Saved : JpegExportResult::CopyFailed;
        }
    }
    QFile::remove(tempJpegPath());
    renderer.renderPreview(shownPath);
    return outcome;
}
