#include "settings/SettingsGlobals.h"

QString SelectedGameCode;
std::int16_t SwapFirst = -1;
std::int16_t SwapSecond = -1;
QString ChosenFolder;
