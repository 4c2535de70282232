#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

// The viewer's list of screenshots and the picture on show.
class PictureBrowser {
public:
    QString screenshotFolder;   // ends with a separator
    bool sortByDate = false;    // the "Sort pictures by file creation date" box
    QStringList pictureNames;   // pictureCount + 1 entries; the last is empty
    int pictureCount = 0;
    int currentIndex = 0;

    // Re-reads the folder's "*.bmp" files in name order (case ignored), or oldest first
    // by their date and time when sortByDate is on, and goes back to the first picture.
    void buildPictureList();

    // Full path of the picture on show; empty when the index points at no picture.
    QString currentPath() const;
    QString currentName() const;

    // Navigation; each returns true when the current picture is to be shown again.
    bool first();
    bool previous();
    bool next();
    bool last();

    enum class DeleteResult { NothingShown, Deleted, NotDeleted };
    // Deletes the picture on show (the window asks first), rebuilds the list and keeps
    // the position.
    DeleteResult deleteCurrent();
};

