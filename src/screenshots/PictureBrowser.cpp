#include "screenshots/PictureBrowser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

void PictureBrowser::buildPictureList() {
    QStringList names = QDir(ScreenshotFolder)
                            .entryList({QStringLiteral("*.bmp")}, QDir::Files,
                                       QDir::Name | QDir::IgnoreCase);
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    PictureCount = int(std::min<qsizetype>(names.size(), 32767));  // the count is 16-bit
    names = names.mid(0, PictureCount);
    if (sortByDate) {
        // Oldest first by the file's own date and time; pictures of the same second by name.
        QList<std::pair<QDateTime, QString>> dated;
        for (const QString& name : names)
            dated.append({QFileInfo(ScreenshotFolder + name).lastModified(), name});
        std::stable_sort(dated.begin(), dated.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        names.clear();
        for (const auto& entry : dated) names.append(entry.second);
    }
    PictureNames = names;
    PictureNames.append(QString());
    CurrentIndex = 0;
}

QString PictureBrowser::currentName() const {
    if (CurrentIndex < 0 || CurrentIndex >= PictureCount) return QString();
    return PictureNames.value(CurrentIndex);
}

QString PictureBrowser::currentPath() const {
    const QString name = currentName();
    return name.isEmpty() ? QString() : ScreenshotFolder + name;
}

bool PictureBrowser::first() {
    CurrentIndex = 0;
    return true;
}

bool PictureBrowser::previous() {
    if (CurrentIndex - 1 < 0) return false;
    --CurrentIndex;
    return true;
}

bool PictureBrowser::next() {
    if (CurrentIndex + 2 > PictureCount) return false;
    ++CurrentIndex;
    return true;
}

bool PictureBrowser::last() {
    CurrentIndex = PictureCount - 1;
    return CurrentIndex >= 0;
}

PictureBrowser::DeleteResult PictureBrowser::deleteCurrent() {
    const QString path = currentPath();
    if (path.isEmpty()) return DeleteResult::NothingShown;
    const bool removed = !QFileInfo::exists(path) || QFile::remove(path);
    const int remembered = CurrentIndex;
    buildPictureList();
    CurrentIndex = remembered < PictureCount ? remembered : remembered - 1;
    if (CurrentIndex < 0) CurrentIndex = 0;
    return removed ? DeleteResult::Deleted : DeleteResult::NotDeleted;
}
