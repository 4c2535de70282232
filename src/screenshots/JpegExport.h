#pragma once
#include <QString>
#include <functional>

class cDIBSection;
class PictureRenderer;

// Padding at the end of each bitmap row; -1 when width x channels overflows.
int DibPadBytes(int width, int channels);

// Loads the file into SharedDib(); true when it is a bitmap.
bool LoadDibFromFile(const QString& path);
// Encodes the bitmap as a JPEG file at screenshotGlobals().JpegQuality; true when the
// file was written whole.
bool WriteJpegFile(const cDIBSection& dib, const QString& path);

// "Shot0001.BMP" -> "shot0001.jpg": the list entry in lower case, ".bmp" made ".jpg".
QString proposedJpegName(const QString& listEntry);
// Folder + name with every ".jpg" taken out and one ".jpg" put at the end.
QString jpegTargetPath(const QString& folder, const QString& typedName);

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

// Runs the save dialog: given LastSaveFolder and the proposed name it sets SaveFileName
// (empty when cancelled) and SaveTargetFolder.
using SaveDialogRunner = std::function<void(const QString& proposedName)>;

enum class JpegExportResult { NothingShown, EncodeFailed, Cancelled, Saved, CopyFailed };

// The export of the picture on show: render at the save size, encode to the temporary
// JPEG, ask for folder and name, copy it there. Failures are told to the user.
JpegExportResult exportPictureAsJpeg(const JpegExportRequest& request, const SaveDialogRunner& runDialog);
