#pragma once
class QWidget;

// Shows the settings dialog modally. It reads "vyrn.ini", "servers.ini" and
// "buddies.ini" when it opens and writes all three when it closes. The first run
// shows it titled "VYRN Settings (First Time Setup)".
void showSettingsDialog(QWidget* parent, bool firstRun);
