#include "app/MainWindowLayout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>

#include "dialogs/GridView.h"
#include "query/MainGrids.h"

WindowLayout layoutOf(const LayoutParts& p) {
    WindowLayout l;
    l.geometry = p.window->isVisible() ? p.window->normalGeometry() : p.window->geometry();
    for (const QSplitter* s : p.splitters) l.splitters << s->sizes();
    for (const GridView* g : p.grids) l.columnWidths << g->columnWidths();
    l.serverSortCol = p.state->serverSortCol;
    l.playerSortCol = p.state->playerSortCol;
    return l;
}

QRect applyLayout(const WindowLayout& l, const LayoutParts& p) {
    QRect place = l.geometry;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // Room for the title bar above the window.
        place = keptOnScreen(l.geometry, screen->availableGeometry().adjusted(0, 32, 0, 0));
    }
    p.window->setGeometry(place);
    for (int i = 0; i < std::min(int(p.splitters.size()), int(l.splitters.size())); ++i)
        if (l.splitters[i].size() == p.splitters[i]->count()) p.splitters[i]->setSizes(l.splitters[i]);
    for (int i = 0; i < std::min(int(p.grids.size()), int(l.columnWidths.size())); ++i)
        p.grids[i]->setColumnWidths(l.columnWidths[i]);
    MainState& s = *p.state;
    if (l.serverSortCol > 0 && l.serverSortCol < s.serverGrid.colCount()) sortServerGrid(s, l.serverSortCol);
    if (l.playerSortCol >= 0 && l.playerSortCol < s.playerGrid.colCount()) sortPlayerGrid(s, l.playerSortCol);
    return place;
}
