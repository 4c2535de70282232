#pragma once
#include "state/Games.h"

class QWidget;

using ScreenshotGame = Game;

// Opens the screenshot viewer on the game's screenshot folder (from the "&Screenshots.."
// menu items), with the folder checks and messages of the opening.
void openScreenshotViewer(QWidget* parent, Game game);
