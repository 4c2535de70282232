#include "state/LayoutStore.h"

#include "platform/FileIO.h"
#include "state/ProgramFolder.h"

namespace {
constexpr int kMaxNumbers = 64;  // more columns than any grid has

QByteArray numbers(const QList<int>& values) {
    QByteArrayList parts;
    for (const int v : values) parts << QByteArray::number(v);
    return parts.join(',');
}

std::optional<QList<int>> readNumbers(const QByteArray& text) {
    QList<int> values;
    for (const QByteArray& part : text.split(',')) {
        bool ok = false;
        const int v = part.trimmed().toInt(&ok);
        if (!ok || v < -100000 || v > 100000 || values.size() == kMaxNumbers) return std::nullopt;
        values << v;
    }
    return values;
}
}  // namespace

QByteArray formatLayout(const WindowLayout& l) {
    QList<QByteArray> lines;
    const QRect& g = l.geometry;
    lines << "window=" + numbers({g.x(), g.y(), g.width(), g.height()});
    for (qsizetype i = 0; i < l.splitters.size(); ++i)
        lines << "splitter" + QByteArray::number(i) + '=' + numbers(l.splitters[i]);
    for (qsizetype i = 0; i < l.columnWidths.size(); ++i)
        lines << "columns" + QByteArray::number(i) + '=' + numbers(l.columnWidths[i]);
    lines << "serverSort=" + QByteArray::number(l.serverSortCol);
    lines << "playerSort=" + QByteArray::number(l.playerSortCol);
    return joinLinesCrLf(lines);
}

std::optional<WindowLayout> parseLayout(const QByteArray& text) {
    WindowLayout l;
    bool window = false;
    for (const QByteArray& line : splitLines(text)) {
        if (line.trimmed().isEmpty()) continue;
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0) return std::nullopt;
        const QByteArray key = line.left(eq).trimmed();
        const std::optional<QList<int>> values = readNumbers(line.mid(eq + 1));
        if (!values) return std::nullopt;
        // Numbered lists come in order: splitter0, splitter1, ...
        const auto listed = [&](const char* name, QList<QList<int>>& lists) {
            if (key != name + QByteArray::number(lists.size())) return false;
            lists << *values;
            return true;
        };
        if (key == "window" && values->size() == 4) {
            l.geometry = QRect((*values)[0], (*values)[1], (*values)[2], (*values)[3]);
            window = l.geometry.width() > 0 && l.geometry.height() > 0;
        } else if (key == "serverSort" && values->size() == 1) {
            l.serverSortCol = values->first();
        } else if (key == "playerSort" && values->size() == 1) {
            l.playerSortCol = values->first();
        } else if (!listed("splitter", l.splitters) && !listed("columns", l.columnWidths)) {
            return std::nullopt;
        }
    }
    if (!window) return std::nullopt;
    return l;
}

std::optional<WindowLayout> loadLayout() {
    const std::optional<QByteArray> text = readWholeFile(programFile(kLayoutFileName), 64 * 1024);
    return text ? parseLayout(*text) : std::nullopt;
}

bool saveLayout(const WindowLayout& layout) {
    return writeFileAtomically(programFile(kLayoutFileName), formatLayout(layout));
}

QRect keptOnScreen(const QRect& saved, const QRect& area) {
    QRect r(saved.topLeft(), saved.size().boundedTo(area.size()));
    r.moveLeft(std::clamp(r.left(), area.left(), area.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), area.top(), area.bottom() + 1 - r.height()));
    return r;
}
