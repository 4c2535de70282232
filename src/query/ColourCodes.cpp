#include "query/ColourCodes.h"

QString stripColourCodes(const QString& name) {
    if (!name.contains(QChar(27))) return name;
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == QChar(27)) {
            i += 3;  // the three colour bytes; a code cut short at the end goes too
            continue;
        }
        out += name[i];
    }
    return out;
}
