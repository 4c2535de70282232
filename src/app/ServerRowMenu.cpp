#include "app/ServerRowMenu.h"

#include <QMenu>

#include "launch/LaunchPlan.h"

QString serverAddressText(const QString& address, const std::optional<QString>& gamePort) {
    const QString a = address.trimmed();
    const std::optional<int> port = gamePort ? parseGamePort(*gamePort) : std::nullopt;
    return port ? a + QLatin1Char(':') + QString::number(*port) : a;
}

QMenu* buildServerRowMenu(QWidget* parent, const ServerRowActions& a) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("serverRowMenu"));
    menu->addAction(QStringLiteral("Launch"), a.launch);
    menu->addAction(QStringLiteral("Refresh this server"), a.refresh);
    menu->addSeparator();
    QAction* copy = menu->addAction(QStringLiteral("Copy address"), a.copyAddress);
    copy->setShortcut(QKeySequence::Copy);
    menu->addAction(QStringLiteral("Copy information"), a.copyInformation);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Remove from favourites"), a.removeFavourite);
    return menu;
}

QMenu* buildPlayerRowMenu(QWidget* parent, const std::function<void()>& addBuddy) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("playerRowMenu"));
    menu->addAction(QStringLiteral("Add player to buddies"), addBuddy);
    return menu;
}

QMenu* buildBuddyRowMenu(QWidget* parent, const std::function<void()>& showHistory) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("buddyRowMenu"));
    menu->addAction(QStringLiteral("Where has this buddy played?"), showHistory);
    return menu;
}
