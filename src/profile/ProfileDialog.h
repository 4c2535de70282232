#pragma once
#include <QDialog>

#include <optional>

#include "platform/Prompter.h"
#include "profile/ProfileFile.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

// The message the user sees after an edit of a profile, if any.
std::optional<Message> profileEditMessage(const ProfileResult& result, const QString& path,
                                          const QString& name = QString());

// "Game Settings": player name, team, taunts and spectating of each game's profile ("User.ini").
// Choices are written at once; names when "Done" is pressed.
class ProfileDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProfileDialog(QWidget* parent = nullptr);

    void load();
    void onDoneClicked();  // "Done"

private:
    struct GameControls {
        QLineEdit* name = nullptr;
        QComboBox* team = nullptr;
        QComboBox* taunts = nullptr;
    };
    QWidget* buildFrame(Game game, const QString& title, GameControls& c);
    void report(const ProfileResult& result, Game game, const QString& name = QString());
    void spectateToggled(bool on);
    GameControls& controls(Game game);

    GameControls ut_, ut2003_, ut2004_;
    QCheckBox* spectateCheck = nullptr;
    std::optional<int> teamBeforeSpectating_;  // what unticking "Spectate" gives back
};
