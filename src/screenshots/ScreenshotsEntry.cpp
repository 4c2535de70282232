#include "screenshots/ScreenshotsEntry.h"

#include <QDir>
#include <QFileInfo>

#include "platform/Prompter.h"
#include "screenshots/ScreenshotViewer.h"
#include "screenshots/ScreenshotFolder.h"
#include "state/AppConfig.h"

void openScreenshotViewer(QWidget* parent, Game game) {
    const auto folder = screenshotFolderFor(game, appConfig());
    if (!folder) {
        prompter().ask({screenshotPathMessage(game)});
        return;
    }
    ScreenshotViewer viewer(*folder, parent);
    if (!viewer.loadFolder()) return;
    viewer.exec();
}
