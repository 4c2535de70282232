#include "profile/GameSettingsEntry.h"

#include "profile/frmGameSettings.h"

void showGameSettingsDialog(QWidget* parent) {
    frmGameSettings dialog(parent);
    dialog.Form_Load();
    dialog.exec();
}
