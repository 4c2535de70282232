#include "platform/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
LinkOpener& currentOpener() {
    static LinkOpener opener;
    return opener;
}
}  // namespace

bool openLink(const QString& link) {
    if (currentOpener()) return currentOpener()(link);
    return QDesktopServices::openUrl(QUrl(link, QUrl::TolerantMode));
}

void setLinkOpener(LinkOpener opener) { currentOpener() = std::move(opener); }
