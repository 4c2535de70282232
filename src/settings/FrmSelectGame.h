#pragma once
#include <QDialog>

class QRadioButton;

// "Select Game:": UT, UT2003 or UT2004; "OK" leaves the choice in SelectedGameCode,
// the close box leaves it as it was.
class FrmSelectGame : public QDialog {
    Q_OBJECT
public:
    FrmSelectGame(const QString& preselectedCode, QWidget* parent = nullptr);

private:
    void Command1_Click();
    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
};

// Shows the dialog modally (the game chooser of the favourites editor).
void showSelectGame(const QString& preselectedCode, QWidget* parent);
