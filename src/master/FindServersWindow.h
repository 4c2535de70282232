#pragma once
#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>
#include <memory>
#include <vector>

#include "master/FoundServersModel.h"
#include "master/MasterClient.h"
#include "state/MainState.h"

class QCheckBox;
class QComboBox;
class ElidedLabel;
class HistoryService;
class WeekStrip;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTableWidget;
class ServerQuerier;
struct QueryOutcome;

// What the "Find Servers" list shows of one query's result.
FoundServer foundServerFrom(const QueryOutcome& outcome);

// "Find Servers": the lists of the masters of the chosen games (UT, UT2003, UT2004 or all
// three), every server queried as the list comes in,
// with filters, sorting by any column and "Add to favourites"; "Find my buddies" shows
// where the players of the buddy list are playing now.
class FindServersWindow : public QDialog {
    Q_OBJECT
public:
    // Starts with UT's list from these masters.
    FindServersWindow(MainState& state, QList<MasterAddress> masters, QWidget* parent = nullptr,
                      MasterTimeouts timeouts = {});
    ~FindServersWindow() override;

    // The masters of a game, asked from the next refresh on.
    void setMasters(Game game, QList<MasterAddress> masters);
    // Lists these games (one, or all three), asking their masters at once.
    void chooseGames(const QList<Game>& games);

    // Asks the masters again and queries the new list.
    void refresh();
    // Adds the selected rows of the server list, or the servers of the selected buddies
    // when the buddy list was picked from last, to the favourites.
    void addSelectedToFavourites();
    void findBuddies();
    // Puts the selected servers' "ADDRESS:GAMEPORT" on the clipboard, one a line (Ctrl+C).
    void copySelectedAddresses();
    // Selects a server's row, clearing the filters when they hide it.
    void selectServer(int modelRow);

    // The current row: "Launch" (its game code, address and game port as its reply gave
    // it, empty before one), "Refresh this server", and its "Copy information" text.
    void launchCurrent();
    void refreshCurrent();
    void copyCurrentInformation();

    // Keeps every answer in the history and shows what it knows of the listed servers: the
    // usual players at this hour, and the usual week of the current row.
    void useHistory(HistoryService* history);

    // Called after favourites were added (the main window queries its list again).
    std::function<void()> favouritesAdded;
    // Called by "Launch"; the main window plans and starts the game.
    std::function<void(const QString& gameCode, const QString& address, const QString& gamePort)>
        launchRequested;

    FoundServersModel& model() { return *model_; }
    FoundServersFilter& filter() { return *filter_; }
    QTableView* serverTable() const { return table_; }
    QTableWidget* buddyTable() const { return buddies_; }
    bool listing() const;
    bool querying() const;
    QString statusText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::optional<int> currentModelRow() const;
    void buildControls();
    void applyFilter();
    void updateStatus();
    void updateGameTypes();
    void updateBuddies();
    void addToFavourites(const QList<int>& modelRows);
    void startClient(Game game);
    std::optional<CdKey> cdKeyFor(Game game);
    void addNote(const QString& note);
    void recordAnswer(const QueryOutcome& outcome);
    void askUsuallyBusy(const QList<ListedServer>& servers);
    void showUsualWeek();

    MainState& state_;
    QList<MasterAddress> masters_[3];  // by game
    QList<Game> games_{Game::UT};
    MasterTimeouts timeouts_;
    // Keys found or typed, and the games whose key was asked for (only once).
    std::optional<CdKey> keys_[3];
    bool keyAsked_[3] = {};
    FoundServersModel* model_;
    FoundServersFilter* filter_;
    std::vector<std::unique_ptr<MasterClient>> clients_;
    std::unique_ptr<ServerQuerier> querier_;
    QStringList masterNotes_;
    bool listComplete_ = false;
    QList<BuddySighting> shownSightings_;
    // Which list "Add to favourites" takes its rows from: the one the user picked from last.
    bool buddiesPicked_ = false;
    QString lastAction_;

    QTableView* table_ = nullptr;
    QTableWidget* buddies_ = nullptr;
    QComboBox* gameChoice_ = nullptr;
    QComboBox* gameType_ = nullptr;
    QCheckBox* notEmpty_ = nullptr;
    QCheckBox* notFull_ = nullptr;
    QCheckBox* noPassword_ = nullptr;
    QLineEdit* nameContains_ = nullptr;
    ElidedLabel* status_ = nullptr;
    QPlainTextEdit* notes_ = nullptr;
    QPushButton* refreshButton_ = nullptr;
    QTimer* statusTimer_ = nullptr;
    QPointer<HistoryService> history_;
    WeekStrip* usualWeek_ = nullptr;
};

// Opens "Find Servers" over the masters of "masters.ini" (written with the defaults first
// when missing, so the user finds it to edit); the window goes when it is closed.
FindServersWindow* openFindServers(MainState& state, QWidget* parent,
                                   std::function<void()> favouritesAdded = {},
                                   decltype(FindServersWindow::launchRequested) launchRequested = {});
