#pragma once
#include <QDialog>

#include "profile/ProfileFile.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// "Game Settings": player name, team, taunts and spectating of each game's "user.ini".
// Choices are written at once; names when "Done" is pressed.
class frmGameSettings : public QDialog {
    Q_OBJECT
public:
    explicit frmGameSettings(QWidget* parent = nullptr);

    void Form_Load();
    void Command15_Click();  // "Done"

private:
    struct GameControls {
        QLineEdit* name = nullptr;
        QComboBox* team = nullptr;
        QComboBox* taunts = nullptr;
    };
    QWidget* buildFrame(ProfileGame game, const QString& title, GameControls& c);
    void report(ProfileEdit result, ProfileGame game);
    GameControls& controls(ProfileGame game);

    GameControls ut_, ut2003_, ut2004_;
    QCheckBox* Check2 = nullptr;
};
