#pragma once
class QWidget;

// Places a window in the middle of its screen: left = (screen width - width) / 2,
// top = (screen height - height) / 2.
void centreOnScreen(QWidget& window);
