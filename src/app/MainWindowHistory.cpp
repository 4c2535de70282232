#include "app/MainWindowHistory.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include "history/BuddiesSeen.h"
#include "history/BuddyHistoryDialog.h"
#include "history/HistorySample.h"
#include "history/HistoryService.h"
#include "history/ServerHistoryView.h"
#include "platform/Prompter.h"
#include "query/ServerQuerier.h"
#include "state/AppConfig.h"
#include "state/MainState.h"
#include "state/ProgramFolder.h"

namespace {
qint64 now() { return QDateTime::currentSecsSinceEpoch(); }

QString openingText(const HistoryStore::Opening& o, const QString& path) {
    using How = HistoryStore::Opening::How;
    switch (o.how) {
    case How::SetAsideDamaged:
        return QStringLiteral("The history file %1 is damaged. It was set aside as %2 and a new one was started.")
            .arg(path, QFileInfo(o.setAsideAs).fileName());
    case How::SetAsideNewer:
        return QStringLiteral("The history file %1 was written by a newer VYRN. It was set aside as %2 and a new "
                              "one was started.")
            .arg(path, QFileInfo(o.setAsideAs).fileName());
    case How::Failed:
        return QStringLiteral("The history file %1 could not be opened: %2. VYRN goes on without keeping it.")
            .arg(path, o.error);
    default: return {};
    }
}
}  // namespace

MainWindowHistory::MainWindowHistory(MainState& state, QWidget* window)
    : QObject(window), state_(state), window_(window), view_(new ServerHistoryView), refetch_(new QTimer(this)) {
    view_->setObjectName(QStringLiteral("serverHistory"));
    view_->clear(QStringLiteral("Click a server to see when it is busy"));
    refetch_->setInterval(kRefetchMs);
    connect(refetch_, &QTimer::timeout, this, &MainWindowHistory::fetchShown);
}

MainWindowHistory::~MainWindowHistory() = default;

void MainWindowHistory::open() {
    if (service_) return;
    const QString path = programFile(QStringLiteral("history.sqlite"));
    service_ = std::make_unique<HistoryService>(path);
    QPointer<QWidget> window = window_;
    service_->opened = [window, path](const HistoryStore::Opening& o) {
        const QString text = openingText(o, path);
        if (!text.isEmpty() && window) prompter().ask({text, MsgIcon::Exclamation});
    };
    keepOnlyBuddies();
}

void MainWindowHistory::keepOnlyBuddies() {
    if (service_)
        service_->keepOnlyBuddies(keptBuddyEntries(state_.buddyGrid));
}

void MainWindowHistory::record(const QueryOutcome& outcome) {
    if (!service_ || !outcome.status) return;
    const QStringList buddies = buddiesSeen(keptBuddyEntries(state_.buddyGrid), outcome.status->players);
    const HistorySample sample = historySample(outcome.target, *outcome.status, now(), buddies);
    service_->record(sample);
    // A server just selected shows its pictures at once; its first reply joins them.
    if (sample.server == shown_ && !std::exchange(shownHeard_, true)) fetchShown();
}

void MainWindowHistory::showServer(const std::optional<HistoryServer>& server) {
    if (server == shown_) return;
    shown_ = server;
    shownHeard_ = false;
    view_->clear(shown_ ? QStringLiteral("No history yet") : QStringLiteral("Click a server to see when it is busy"));
    if (!shown_) {
        refetch_->stop();
        return;
    }
    fetchShown();
    refetch_->start();
}

void MainWindowHistory::fetchShown() {
    if (!service_ || !shown_) return;
    const HistoryServer asked = *shown_;
    QPointer<ServerHistoryView> view = view_;
    service_->fetchServer(asked, [this, view, asked](const ServerHistory& history) {
        if (view && shown_ == asked) view->setHistory(history, now());
    });
}

void MainWindowHistory::clearHistory() {
    if (!service_) return;
    const MsgAnswer answer = prompter().ask(
        {QStringLiteral("Clear the history of every server? The pictures start again from nothing."),
         MsgIcon::Question, kAppTitle, MsgButtons::YesNo, MsgAnswer::No});
    if (answer != MsgAnswer::Yes) return;
    QPointer<QObject> self = this;
    service_->clear([self, this](bool cleared, const QString& error) {
        if (!self) return;
        if (!cleared) prompter().ask({QStringLiteral("The history could not be cleared: ") + error, MsgIcon::Exclamation});
        fetchShown();
    });
}

void MainWindowHistory::showBuddy(const QString& entry) {
    if (!service_ || entry.trimmed().isEmpty()) return;
    QPointer<QWidget> window = window_;
    const bool kept = buddyHistoryOn(appConfig());
    service_->fetchBuddy(entry, [window, entry, kept](const BuddyHistory& history) {
        if (!window) return;
        auto* dialog = new BuddyHistoryDialog(window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setHistory(entry, history);
        if (!kept)
            dialog->summary()->setText(dialog->summary()->text() +
                                       QStringLiteral(".\nVYRN keeps where buddies played only while \"Keep where my "
                                                      "buddies played\" is ticked in \"VYRN Settings\"."));
        dialog->show();
    });
}
