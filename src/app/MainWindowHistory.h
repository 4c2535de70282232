#pragma once
#include <QObject>
#include <memory>
#include <optional>

#include "history/HistoryTypes.h"

class HistoryService;
class ServerHistoryView;
class QTimer;
class QWidget;
struct MainState;
struct QueryOutcome;

// The main window's side of the history: every reply of the favourites is kept, the
// selected server's pictures are shown (asked again each minute while it stays selected),
// the history can be cleared, and a buddy's servers and hours are shown on asking.
class MainWindowHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int kRefetchMs = 60000;

    MainWindowHistory(MainState& state, QWidget* window);
    ~MainWindowHistory() override;

    // Opens "history.sqlite" in VYRN's folder; a file set aside is told to the player.
    void open();
    HistoryService* service() const { return service_.get(); }
    ServerHistoryView* view() const { return view_; }

    void record(const QueryOutcome& outcome);
    // The server whose pictures the panel shows; none: nothing is selected.
    void showServer(const std::optional<HistoryServer>& server);
    // "Clear history": asks first, No by default.
    void clearHistory();
    // The servers and hours where a buddy entry was seen.
    void showBuddy(const QString& entry);
    // Forgets the names of players no longer on the buddy list, or every name while the
    // buddy history is off.
    void keepOnlyBuddies();

private:
    void fetchShown();

    MainState& state_;
    QWidget* window_;
    std::unique_ptr<HistoryService> service_;
    ServerHistoryView* view_;
    std::optional<HistoryServer> shown_;
    bool shownHeard_ = false;  // a reply of the shown server came since it was selected
    QTimer* refetch_;
};
