#pragma once
#include <QMainWindow>
#include <array>
#include <memory>

#include "state/MainState.h"
#include "platform/TrayIcon.h"
#include "app/Startup.h"
#include "app/TrayBehaviour.h"

class ElidedGroupBox;
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

// The main window: favourites, players, buddies and the server information panel. It
// binds the controls to MainState and the logic that works on it.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up sequence; false when the program ended during it.
    bool Form_Load();
    bool Form_Load(const StartupHooks& hooks);
    StartupHooks defaultStartupHooks();

    MainState& state() { return state_; }
    ServerMonitor& monitor() { return *monitor_; }

    // Menu actions.
    void mnuFile_Open();
    void mnuSaveServer_Click();
    void mnuExit_Click();
    void mnuRefreshAll_Click();
    void mnuFindServers_Click();
    void mnuVYRN_Click();
    void mnuGame_Click();
    void mnuauto_Click();
    void mnuAbout_Click();

    void Command1_Click();
    void Command2_Click();  // "Copy"
    void Command3_Click();  // "Email Admin"
    void Flex_Click();

    // Replaces the desktop's tray icon (tests use their own).
    void useTrayIcon(std::unique_ptr<TrayIcon> icon);
    TrayBehaviour& tray() { return *trayBehaviour_; }

    // Shows the panel texts and the autoscan caption of MainState.
    void refreshPanel();
    void refreshAutoscanCaption();

    QAction* autoscanAction() const { return mnuauto; }
    QMenu* fileMenu() const { return mnuFile; }
    QMenu* screenshotsMenu() const { return mnuSS; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildMenus();
    void buildPanel();
    void Form_Unload();

    MainState state_;
    std::unique_ptr<ServerMonitor> monitor_;
    std::unique_ptr<TrayIcon> trayIcon_;
    std::unique_ptr<TrayBehaviour> trayBehaviour_;
    std::unique_ptr<SingleInstance> instance_;
    GridView* serverView = nullptr;
    GridView* playerView = nullptr;
    GridView* buddyView = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuSS = nullptr;
    QAction* mnuauto = nullptr;
    ElidedGroupBox* Frame1 = nullptr;
    std::array<ElidedLabel*, 10> labels{};  // Label1 .. Label9 by number; [0] unused
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
};
