#pragma once
#include <QString>
#include <optional>

// The number in a text field as the viewer's fields take it: signs, decimals, exponents
// and &H / &O notations count as numbers; an empty text does not.
std::optional<double> numberInText(const QString& text);

// Rounds halves to the even neighbour, then limits the result to lo..hi.
int roundToRange(double value, int lo, int hi);
