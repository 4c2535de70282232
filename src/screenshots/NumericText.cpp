#include "screenshots/NumericText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

std::optional<double> numberInText(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    if (t.size() > 2 && t[0] == '&') {
        const QChar base = t[1].toUpper();
        bool ok = false;
        qlonglong v = 0;
        if (base == 'H') v = t.mid(2).toLongLong(&ok, 16);
        else if (base == 'O') v = t.mid(2).toLongLong(&ok, 8);
        if (ok) return double(v);
        return std::nullopt;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

int roundToRange(double value, int lo, int hi) {
    if (std::isnan(value)) return lo;
    const double r = std::nearbyint(std::clamp(value, double(lo), double(hi)));  // ties to even
    return std::clamp(int(r), lo, hi);
}
