#pragma once
#include <QDateTime>
#include <QImage>
#include <QString>

// The picture machinery of the viewer: `fullPicture` holds the picture at its own size, `scaledPicture`
// the scaled copy, `preview` what the viewer shows, `caption` the window's caption.
class PictureRenderer {
public:
    static constexpr int kPreviewWidth = 601;
    static constexpr int kPreviewHeight = 416;

    QImage fullPicture;
    QImage scaledPicture;
    QImage preview;
    QString caption;
    int pictureWidth = 0;
    int pictureHeight = 0;
    int brightnessAmount = 0;
    // Path of the picture on show (the last one renderPreview rendered); the export reads it.
    QString shownPath;

    // The preview: the picture scaled to fit 601 x 416, keeping its proportions. A missing
    // file changes nothing; false when nothing was drawn.
    bool renderPreview(const QString& path);
    // The size renderAtSaveSize last aimed at.
    QSize saveSize;

    enum class SaveRender { Drawn, NotDrawn, TooLarge };
    // The picture at the save size: the typed width and height; a side left empty follows
    // the other in the picture's proportions, both empty give its own size. A size beyond
    // maxBmpPixels() is not drawn.
    SaveRender renderAtSaveSize(const QString& path, const QString& widthText, const QString& heightText);

    enum class ChangeResult { Changed, NothingShown, TempNotWritten };
    // Adds the amount to every channel of fullPicture, stores it as the temporary picture and
    // shows that; further changes add up.
    ChangeResult changeBrightness(const QString& amountText);

    void clear();
};

// The system's general date format of the old program: 3/7/2004 9:05:12 PM.
QString generalDateText(const QDateTime& when);

// "vyrntmppic.bmp" in the program folder.
QString tempPicturePath();
