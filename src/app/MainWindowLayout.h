#pragma once
#include <QList>
#include <QRect>

#include "state/LayoutStore.h"
#include "state/MainState.h"

class GridView;
class QSplitter;
class QWidget;

// The parts of the main window whose layout is kept between runs.
struct LayoutParts {
    QWidget* window = nullptr;
    QList<QSplitter*> splitters;
    QList<GridView*> grids;
    MainState* state = nullptr;
};

WindowLayout layoutOf(const LayoutParts& parts);
// Gives the parts the kept layout, the window kept on its screen; returns the window's
// place, which its first showing must not undo.
QRect applyLayout(const WindowLayout& layout, const LayoutParts& parts);
