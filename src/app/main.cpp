#include <QApplication>

#include "app/FrmMain.h"
#include "master/MasterCommand.h"

int main(int argc, char** argv) {
    if (isMasterCommand(argc, argv)) {
        // The command line needs no display.
        QCoreApplication app(argc, argv);
        return runMasterCommand(QCoreApplication::arguments());
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VYRN"));
    FrmMain window;
    if (!window.Form_Load()) return 0;
    window.show();
    return app.exec();
}
