#include "history/BuddyHistoryDialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/DialogPlacement.h"
#include "history/WeekStrip.h"

BuddyHistoryDialog::BuddyHistoryDialog(QWidget* parent) : QDialog(parent) {
    setFont(QFont(QStringLiteral("Arial"), 9));
    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("buddySummary"));
    summary_->setTextFormat(Qt::PlainText);  // a player's name is data, never markup
    servers_ = new QTreeWidget(this);
    servers_->setObjectName(QStringLiteral("buddyServers"));
    servers_->setRootIsDecorated(false);
    servers_->setUniformRowHeights(true);
    servers_->setHeaderLabels({QStringLiteral("Server"), QStringLiteral("Address"),
                               QStringLiteral("Hours seen"), QStringLiteral("Last seen")});
    servers_->header()->setStretchLastSection(false);
    servers_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int col : {1, 2, 3}) servers_->header()->setSectionResizeMode(col, QHeaderView::ResizeToContents);
    stripCaption_ = new QLabel(QStringLiteral("Hours seen"), this);
    strip_ = new WeekStrip(this);
    strip_->setObjectName(QStringLiteral("buddyWeekStrip"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("closeButton"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(summary_);
    layout->addWidget(servers_, 1);
    layout->addWidget(stripCaption_);
    layout->addWidget(strip_);
    layout->addWidget(buttons);
    centreOnScreen(this);
}

void BuddyHistoryDialog::setHistory(const QString& name, const BuddyHistory& history) {
    setWindowTitle(QStringLiteral("%1 - History").arg(name));
    summary_->setText(history.servers.isEmpty() ? QStringLiteral("%1 has not been seen yet").arg(name)
                                                : QStringLiteral("%1 was seen on these servers:").arg(name));
    servers_->clear();
    const QLocale locale;
    for (const BuddyServerSeen& seen : history.servers) {
        const QString last =
            locale.toString(QDateTime::fromSecsSinceEpoch(seen.lastSeen).toLocalTime(), QLocale::ShortFormat);
        auto* item = new QTreeWidgetItem(
            servers_,
            {seen.serverName, QStringLiteral("%1:%2").arg(seen.server.address).arg(seen.server.queryPort),
             QString::number(seen.hoursSeen), last});
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    servers_->setVisible(!history.servers.isEmpty());
    strip_->setData({history.hours, WeekStripData::Kind::HoursSeen, -1});
    strip_->setVisible(!history.servers.isEmpty());
    stripCaption_->setVisible(!history.servers.isEmpty());
    // Room for the list when there is one; the few words alone otherwise.
    if (history.servers.isEmpty()) adjustSize();
    else resize(560, 400);
}
