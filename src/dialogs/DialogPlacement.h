#pragma once
class QWidget;

// Windows are laid out in twips; the screen has 15 twips to a pixel.
constexpr int twips(int value) { return value / 15; }

// left = (screen width - width) / 2, top = (screen height - height) / 2, each rounded
// and halved with the fraction dropped.
void centreOnScreen(QWidget* window);
