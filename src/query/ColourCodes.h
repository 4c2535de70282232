#pragma once
#include <QByteArray>
#include <QString>

// UT2004 colours parts of names with the byte 27 followed by three colour bytes (red,
// green, blue; 1 standing for 0). Names are shown, matched and stored without them.
// A code cut short at the end of the text goes with what it has, so a code never
// reaches into the next field when each field is stripped on its own.
QString stripColourCodes(const QString& name);
QByteArray stripColourCodes(const QByteArray& field);
