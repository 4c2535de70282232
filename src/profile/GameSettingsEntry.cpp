#include "profile/GameSettingsEntry.h"

#include "profile/ProfileDialog.h"

void showGameSettingsDialog(QWidget* parent) {
    ProfileDialog dialog(parent);
    dialog.load();
    dialog.exec();
}
