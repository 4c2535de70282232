#pragma once
#include <QMainWindow>

#include "shell/MainState.h"

// The main window: favourites, players, buddies and the server information panel.
class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmMain(QWidget* parent = nullptr);
    ~FrmMain() override;

    // The start-up sequence; false when the program is to end without showing it.
    bool Form_Load();

    MainState& state() { return state_; }

private:
    MainState state_;
};
