#pragma once
class QWidget;

enum class ScreenshotGame { UT, UT2003, UT2004 };

// Opens the screenshot viewer on the game's screenshot folder (from the "&Screenshots.."
// menu items), with the folder checks and messages of the opening.
void openScreenshotViewer(QWidget* parent, ScreenshotGame game);
