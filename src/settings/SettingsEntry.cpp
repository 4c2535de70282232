#include "settings/SettingsEntry.h"

#include "settings/SettingsDialog.h"

void showSettingsDialog(QWidget* parent, bool firstRun) {
    SettingsDialog dialog(firstRun, parent);
    dialog.exec();
}
