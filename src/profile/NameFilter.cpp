#include "profile/NameFilter.h"

QString filterPlayerName(const QString& text) {
    QString name = text;
    name.replace(QLatin1Char(' '), QLatin1Char('_'));
    if (name.size() > 20) name.truncate(19);
    return name;
}
