#pragma once
#include <QDialog>
#include <optional>

class QRadioButton;

// "Select Game:": UT, UT2003 or UT2004; "OK" takes the checked choice, the close box
// takes none.
class GameChoiceDialog : public QDialog {
    Q_OBJECT
public:
    GameChoiceDialog(const QString& preselectedCode, QWidget* parent = nullptr);
    // The code of the choice "OK" took ("UT", "UT2", "UT3"); nothing before that.
    std::optional<QString> chosenCode() const { return chosenCode_; }

private:
    void onOkClicked();
    QRadioButton* utOption;
    QRadioButton* ut2003Option;
    QRadioButton* ut2004Option;
    std::optional<QString> chosenCode_;
};

// Shows the dialog modally (the game chooser of the favourites editor); the chosen code.
std::optional<QString> showSelectGame(const QString& preselectedCode, QWidget* parent);
