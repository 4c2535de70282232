#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>

// The viewer's list of screenshots and the picture on show.
class PictureBrowser {
public:
    QString ScreenshotFolder;   // ends with a separator
    bool sortByDate = false;    // the "Sort pictures by file creation date" box
    QStringList PictureNames;   // PictureCount + 1 entries; the last is empty
    int PictureCount = 0;
    int CurrentIndex = 0;

    // Re-reads the folder's "*.bmp" files in name order (case ignored), or in the order of
    // their date keys when sortByDate is on, and goes back to the first picture.
    void BuildPictureList();

    // Full path of the picture on show; empty when the index points at no picture.
    QString currentPath() const;
    QString currentName() const;

    // Navigation; each returns true when the current picture is to be shown again.
    bool first();
    bool previous();
    bool next();
    bool last();

    enum class DeleteResult { NothingShown, Declined, Deleted, NotDeleted };
    // Asks "Confirm Delete", deletes the file, rebuilds the list and keeps the position.
    DeleteResult deleteCurrent();
};

// The sortable key of a date in the general date format: month and day with two digits,
// afternoon hours on the 24-hour clock, 12 AM as 00.
QString dateKey(const QString& generalDate);

// The sorted list box's order: case ignored, punctuation and blanks before digits,
// digits before letters.
bool listBoxLess(const QString& a, const QString& b);
