#pragma once
#include <QString>

// UT2004 colours parts of names with the byte 27 followed by three colour bytes (red,
// green, blue; 1 standing for 0). Names are shown, matched and stored without them.
QString stripColourCodes(const QString& name);
