#pragma once
#include <QByteArray>
#include <QList>
#include <QRect>
#include <optional>

// The main window's layout as the user left it: where the window was and how big,
// the splitters, the column widths of the grids and the sort columns. It lives in
// "layout.ini" in VYRN's folder, apart from "vyrn.ini"; a missing or broken file means
// the designed layout.
struct WindowLayout {
    QRect geometry;                  // the window without its frame
    QList<QList<int>> splitters;     // the sizes of each splitter, in the window's order
    QList<QList<int>> columnWidths;  // pixels of each grid's columns, in the window's order
    int serverSortCol = 0;           // 0: not sorted
    int playerSortCol = 3;

    bool operator==(const WindowLayout&) const = default;
};

inline const QString kLayoutFileName = QStringLiteral("layout.ini");

QByteArray formatLayout(const WindowLayout& layout);
std::optional<WindowLayout> parseLayout(const QByteArray& text);
std::optional<WindowLayout> loadLayout();
bool saveLayout(const WindowLayout& layout);

// The saved place of a window on a screen that may have become smaller: shrunk to fit
// the free area and moved into it.
QRect keptOnScreen(const QRect& saved, const QRect& area);
