#pragma once
#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>

#include "state/MainState.h"
#include "platform/TrayIcon.h"
#include "app/Startup.h"
#include "app/TrayBehaviour.h"
#include "app/PendingLaunch.h"
#include "query/BuddyAlerts.h"

class ElidedGroupBox;
class MainWindowHistory;
class ElidedLabel;
class GridView;
class ServerMonitor;
class SingleInstance;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QShortcut;
struct LayoutParts;
class QTimer;

// The main window: favourites, players, buddies and the server information panel. It
// binds the controls to MainState and the logic that works on it.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence; false when the program ended during it.
    bool start();
    bool start(const StartupHooks& hooks);
    StartupHooks defaultStartupHooks();

    MainState& state() { return state_; }
    ServerMonitor& monitor() { return *monitor_; }
    MainWindowHistory& history() { return *history_; }

    // Menu actions.
    void onMenuAboutToShow();
    void onSaveServerListClicked();
    void onExitClicked();
    void onRefreshAllClicked();
    void onFindServersClicked();
    void onVyrnSettingsClicked();
    void onGameSettingsClicked();
    void onAutoScanClicked();
    void onAboutClicked();

    void onLaunchClicked();
    void onCopyClicked();        // "Copy"
    void onEmailAdminClicked();  // "Email Admin"
    void onPlayerGridClicked();

    // Replaces the desktop's tray icon (tests use their own).
    void useTrayIcon(std::unique_ptr<TrayIcon> icon);
    TrayBehaviour& tray() { return *trayBehaviour_; }

    // Shows the panel texts and the autoscan caption of MainState.
    void refreshPanel();
    void refreshAutoscanCaption();
    void refreshSummary();

    // The launch waiting for the selected server's reply, and the buddy news not yet told.
    PendingLaunch& pendingLaunch() { return pendingLaunch_; }
    BuddyAlerts& buddyAlerts() { return buddyAlerts_; }
    // The server row selected by a click, a key or a buddy; 0 in automatic mode.
    int selectedRow() const;
    // The menu's actions on the selected server.
    void copyServerAddress();
    void refreshSelectedServer();
    void removeSelectedFavourite();

    // Keeps the layout in its file (on closing and "E&xit").
    void keepLayout();

    // Tells the buddy news gathered so far through the tray (normally a moment after the first).
    void tellBuddyNews();

    QAction* autoscanAction() const { return autoScanAction_; }
    QMenu* fileMenu() const { return fileMenu_; }
    QMenu* screenshotsMenu() const { return screenshotsMenu_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildMenus();
    void buildPanel();
    void shutDown();
    void launchNow();
    void buddySighted(const QString& player, const QString& server);
    void buildRowMenus();
    LayoutParts layoutParts();
    void restoreLayout();

    MainState state_;
    std::unique_ptr<ServerMonitor> monitor_;
    std::unique_ptr<TrayIcon> trayIcon_;
    std::unique_ptr<TrayBehaviour> trayBehaviour_;
    std::unique_ptr<SingleInstance> instance_;
    PendingLaunch pendingLaunch_;
    BuddyAlerts buddyAlerts_;
    QTimer* buddyNewsTimer_ = nullptr;
    MainWindowHistory* history_ = nullptr;
    QShortcut* giveUpLaunch_ = nullptr;
    QLabel* summary_ = nullptr;
    QTimer* summaryTimer_ = nullptr;
    bool layoutShown_ = false;
    std::optional<QRect> restoredGeometry_;  // loaded and laid out, so the layout is the user's
    GridView* serverView = nullptr;
    GridView* playerView = nullptr;
    GridView* buddyView = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* screenshotsMenu_ = nullptr;
    QAction* autoScanAction_ = nullptr;
    ElidedGroupBox* infoFrame = nullptr;
    std::array<ElidedLabel*, 10> labels{};  // infoLabel1 .. infoLabel9 by number; [0] unused
    QLineEdit* addressEdit = nullptr;
    QLineEdit* gamePortEdit = nullptr;
    QLineEdit* adminEdit = nullptr;
    QPushButton* launchButton = nullptr;
    QPushButton* copyButton = nullptr;
    QPushButton* emailAdminButton = nullptr;
};
