#pragma once
#include <QString>
#include <cstdint>

// Answers of the settings subsystem's small dialogs; each keeps its last value
// between uses.
extern QString SelectedGameCode;  // frmSelectGame: "UT", "UT2", "UT3" or empty
extern std::int16_t SwapFirst;    // frmSwap: row numbers, -1 for none
extern std::int16_t SwapSecond;
extern QString ChosenFolder;      // frmfolder: the chosen folder, empty for none
