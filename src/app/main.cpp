#include <QApplication>

#include "app/FrmMain.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VYRN"));
    FrmMain window;
    if (!window.Form_Load()) return 0;
    window.show();
    return app.exec();
}
