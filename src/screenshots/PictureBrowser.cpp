#include "screenshots/PictureBrowser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

void PictureBrowser::buildPictureList() {
    QStringList names = QDir(screenshotFolder)
                            .entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    pictureCount = int(std::min<qsizetype>(names.size(), 32767));  // the count is 16-bit
    names = names.mid(0, pictureCount);
    if (sortByDate) {
        // Oldest first by the file's own date and time; pictures of the same second by name.
        QList<std::pair<QDateTime, QString>> dated;
        for (const QString& name : names)
            dated.append({QFileInfo(screenshotFolder + name).lastModified(), name});
        std::stable_sort(dated.begin(), dated.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        names.clear();
        for (const auto& entry : dated) names.append(entry.second);
    }
    pictureNames = names;
    pictureNames.append(QString());
    currentIndex = 0;
}

QString PictureBrowser::currentName() const {
    if (currentIndex < 0 || currentIndex >= pictureCount) return QString();
    return pictureNames.value(currentIndex);
}

QString PictureBrowser::currentPath() const {
    const QString name = currentName();
    return name.isEmpty() ? QString() : screenshotFolder + name;
}

bool PictureBrowser::first() {
    currentIndex = 0;
    return true;
}

bool PictureBrowser::previous() {
    if (currentIndex - 1 < 0) return false;
    --currentIndex;
    return true;
}

bool PictureBrowser::next() {
    if (currentIndex + 2 > pictureCount) return false;
    ++currentIndex;
    return true;
}

bool PictureBrowser::last() {
    currentIndex = pictureCount - 1;
    return currentIndex >= 0;
}

PictureBrowser::DeleteResult PictureBrowser::deleteCurrent() {
    const QString path = currentPath();
    if (path.isEmpty()) return DeleteResult::NothingShown;
    const bool removed = !QFileInfo::exists(path) || QFile::remove(path);
    const int remembered = currentIndex;
    buildPictureList();
    currentIndex = remembered < pictureCount ? remembered : remembered - 1;
    if (currentIndex < 0) currentIndex = 0;
    return removed ? DeleteResult::Deleted : DeleteResult::NotDeleted;
}
