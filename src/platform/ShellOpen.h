#pragma once
#include <QString>
#include <functional>

// Hands a link ("mailto:", "http:") to the desktop's default handler; true when the
// desktop accepted it.
using LinkOpener = std::function<bool(const QString& link)>;
bool openLink(const QString& link);
// Replaces the opener (tests record links instead of opening them); empty restores it.
void setLinkOpener(LinkOpener opener);
