#pragma once
class QWidget;

// Shows the game profile dialog ("&Game Settings") modally.
void showGameSettingsDialog(QWidget* parent);
