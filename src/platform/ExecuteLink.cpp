#include "platform/ExecuteLink.h"

#include <QCursor>
#include <QGuiApplication>

#include "platform/Prompter.h"
#include "platform/ShellOpen.h"

void executeLink(const QString& link) {
    const bool gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (gui) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    const bool opened = openLink(link);
    if (gui) QGuiApplication::restoreOverrideCursor();
    if (!opened)
        prompter().ask({QStringLiteral("error Opening Link to ") + link +
                            QStringLiteral("\r\n\r\n0"),
                        MsgIcon::None, QStringLiteral("ExecuteLink")});
}
