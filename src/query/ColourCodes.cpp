#include "query/ColourCodes.h"

namespace {
template <typename Text>
Text stripCodes(const Text& text, typename Text::value_type escape) {
    if (!text.contains(escape)) return text;
    Text out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == escape) {
            i += 3;  // the three colour bytes, or as many as the text still has
            continue;
        }
        out += text[i];
    }
    return out;
}
}  // namespace

QString stripColourCodes(const QString& name) { return stripCodes(name, QChar(27)); }
QByteArray stripColourCodes(const QByteArray& field) { return stripCodes(field, char(27)); }
