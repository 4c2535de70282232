#pragma once
#include <QString>

class Bitmap;

// State the viewer, the export and the save dialog share for the run.
struct ScreenshotGlobals {
    QString ScreenshotFolder;   // folder the viewer browses, ending with a separator
    qint16 JpegQuality = 100;   // quality of the export under way
};

ScreenshotGlobals& screenshotGlobals();
// The one bitmap of the export, made on first use.
Bitmap& SharedDib();
