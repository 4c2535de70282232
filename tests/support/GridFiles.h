#pragma once
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include "state/MainState.h"
#include "state/FlexGrid.h"

// The texts of one column below the header.
QStringList gridColumn(const FlexGrid& grid, int col);
// Each row below the header as its shown cells joined by '|'.
QStringList gridRows(const FlexGrid& grid);

// The main window's grids as start-up leaves them, read from the program folder's
// "servers.ini" and "buddies.ini".
struct LoadedMainWindow {
    MainState s;
    LoadedMainWindow();
};

// A named child widget of a dialog; a missing one fails the test.
template <typename W>
W* child(QWidget& parent, const char* name) {
    W* w = parent.findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}
