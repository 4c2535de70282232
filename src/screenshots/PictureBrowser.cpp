#include "screenshots/PictureBrowser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "platform/Prompter.h"
#include "screenshots/PictureRenderer.h"

namespace {
const QString kKeySeparator = QStringLiteral(" | ");

int charClass(QChar c) {
    if (c.isDigit()) return 1;
    if (c.isLetter()) return 2;
    return 0;
}
}  // namespace

QString dateKey(const QString& generalDate) {
    const qsizetype slash = generalDate.indexOf('/');
    QString month = slash < 0 ? generalDate : generalDate.left(slash);
    const QString rest = slash < 0 ? QString() : generalDate.mid(slash + 1);
    const qsizetype second = rest.indexOf('/');
    QString day = second < 0 ? rest : rest.left(second);
    const QString tail = second < 0 ? QString() : rest.mid(second);
    if (month.size() < 2) month.prepend('0');
    if (day.size() < 2) day.prepend('0');
    QString key = month + '/' + day + tail;

    struct Rewrite { const char* from; const char* to; const char* marker; };
    static const Rewrite rewrites[] = {
        {" 1:", " 13:", "PM"}, {" 2:", " 14:", "PM"}, {" 3:", " 15:", "PM"}, {" 4:", " 16:", "PM"},
        {" 5:", " 17:", "PM"}, {" 6:", " 18:", "PM"}, {" 7:", " 19:", "PM"}, {" 8:", " 20:", "PM"},
        {" 9:", " 21:", "PM"}, {" 10:", " 22:", "PM"}, {" 11:", " 23:", "PM"}, {" 12:", " 00:", "AM"}};
    for (const Rewrite& r : rewrites) {
        const QString from = QLatin1String(r.from);
        if (key.contains(from) && key.contains(QLatin1String(r.marker))) {
            key.replace(from, QLatin1String(r.to));
            break;
        }
    }
    return key;
}

bool listBoxLess(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ca = a[i].toLower(), cb = b[i].toLower();
        if (ca == cb) continue;
        const int ka = charClass(ca), kb = charClass(cb);
        if (ka != kb) return ka < kb;
        return ca < cb;
    }
    return a.size() < b.size();
}

void PictureBrowser::BuildPictureList() {
    QStringList names = QDir(ScreenshotFolder)
                            .entryList({QStringLiteral("*.bmp")}, QDir::Files,
                                       QDir::Name | QDir::IgnoreCase);
    std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    PictureCount = int(std::min<qsizetype>(names.size(), 32767));  // the count is 16-bit
    names = names.mid(0, PictureCount);
    if (sortByDate) {
        QStringList keyed;
        for (const QString& name : names) {
            const QFileInfo info(ScreenshotFolder + name);
            keyed.append(dateKey(generalDateText(info.lastModified())) + kKeySeparator + name);
        }
        std::stable_sort(keyed.begin(), keyed.end(), listBoxLess);
        names.clear();
        for (const QString& entry : keyed) names.append(entry.mid(entry.indexOf(kKeySeparator) + 3));
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
    const Message question{QStringLiteral("Are you sure you want to delete\r\n") + path + '?',
                           MsgIcon::None, QStringLiteral("Confirm Delete"), MsgButtons::YesNo};
    if (prompter().ask(question) != MsgAnswer::Yes) return DeleteResult::Declined;
    const bool removed = !QFileInfo::exists(path) || QFile::remove(path);
    const int remembered = CurrentIndex;
    BuildPictureList();
    CurrentIndex = remembered < PictureCount ? remembered : remembered - 1;
    if (CurrentIndex < 0) CurrentIndex = 0;
    return removed ? DeleteResult::Deleted : DeleteResult::NotDeleted;
}
