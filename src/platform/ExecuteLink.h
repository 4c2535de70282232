#pragma once
#include <QString>

// Opens a link ("mailto:...", a web address) with the desktop's default handler and
// tells the user when the desktop refused it.
void executeLink(const QString& link);
