#include "settings/SettingsEntry.h"

#include "settings/FrmVyrnSettings.h"

void showSettingsDialog(QWidget* parent, bool firstRun) {
    FrmVyrnSettings dialog(firstRun, parent);
    dialog.exec();
}
