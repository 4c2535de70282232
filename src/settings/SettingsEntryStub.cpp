// Stand-in until the settings dialog lands: writes the configuration as it is.
#include "settings/SettingsEntry.h"

#include "shell/AppConfig.h"
#include "shell/ConfigFile.h"

void showSettingsDialog(QWidget*, bool) { writeConfigFile(appConfig(), QString()); }
