// Stand-in until the game profile dialog lands.
#include "profile/GameSettingsEntry.h"

void showGameSettingsDialog(QWidget*) {}
