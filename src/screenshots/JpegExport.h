#pragma once
#include <QSize>
#include <QString>
#include <functional>
#include <optional>

class Bitmap;
class PictureRenderer;

// Padding at the end of each bitmap row; -1 when width x channels overflows.
int bitmapRowPadding(int width, int channels);

// Encodes the bitmap as a JPEG file at the quality given (1-100); empty when the file was
// written whole, else what went wrong (the system's words for a failed write).
QString writeJpegFile(const Bitmap& dib, const QString& path, int quality);

// "Shot0001.BMP" -> "shot0001.jpg": the list entry in lower case, ".bmp" made ".jpg".
QString proposedJpegName(const QString& listEntry);
// Folder + name with one ".jpg" at the end: a typed name that ends with ".jpg" keeps it,
// any other gets it added.
QString jpegTargetPath(const QString& folder, const QString& typedName);

// Where the first export looks: $XDG_PICTURES_DIR, else the desktop's pictures folder
// (~/Pictures), else the home folder.
QString defaultSaveFolder();

// "vyrntmppic.jpg" in the program folder.
QString tempJpegPath();

// Everything the "Save as JPG" button needs from the viewer.
struct JpegExportRequest {
    PictureRenderer* renderer = nullptr;
    QString listEntry;     // the current entry of the picture list
    QString widthText;     // resize fields
    QString heightText;
    QString qualityText;
};

// The save dialog's answer: the folder and the name as typed.
struct SaveChoice {
    QString folder;
    QString name;
};
// Runs the save dialog with the proposed name; nothing when the user cancelled.
using SaveDialogRunner = std::function<std::optional<SaveChoice>(const QString& proposedName)>;

enum class JpegExportResult { NothingShown, TooLarge, EncodeFailed, Cancelled, Saved, CopyFailed };

struct JpegExportOutcome {
    JpegExportResult result = JpegExportResult::NothingShown;
    QString target = QString();  // the JPEG file, once a name was chosen
    QSize size = QSize();        // the size asked for (TooLarge)
    QString reason = QString();  // the system's words (CopyFailed; EncodeFailed: the file not written)
};

// The export of the picture on show: render at the save size, encode to the temporary
// JPEG, ask for folder and name, ask before replacing a file there (No is the default),
// copy it there. The window tells the user what failed.
JpegExportOutcome exportPictureAsJpeg(const JpegExportRequest& request, const SaveDialogRunner& runDialog);
