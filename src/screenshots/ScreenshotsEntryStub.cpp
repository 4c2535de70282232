// Stand-in until the screenshot viewer lands.
#include "screenshots/ScreenshotsEntry.h"

void openScreenshotViewer(QWidget*, ScreenshotGame) {}
