#include "shell/FrmMain.h"

FrmMain::FrmMain(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("VYRN 3.0"));
}

FrmMain::~FrmMain() = default;

bool FrmMain::Form_Load() { return true; }
