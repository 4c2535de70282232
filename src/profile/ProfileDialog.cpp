#include "profile/ProfileDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/DialogPlacement.h"
#include "profile/NameFilter.h"

namespace {
const QString kNameTip = QStringLiteral("Leave blank if you do not want to change your player name.");
const QString kTeamTip = QStringLiteral("Leave blank if you do not want to change teams.");
const QString kTauntTip = QStringLiteral("Leave blank if you do not want to change taunts.");
const QStringList kTaunts{"All", "No Auto Taunts", "No Taunts", "None"};

QFont arial() { return QFont(QStringLiteral("Arial"), 8); }

// Places a child in twips inside its parent.
template <typename W>
W* place(W* w, int left, int top, int width = 0, int height = 0) {
    w->setFont(arial());
    if (width) w->setGeometry(twips(left), twips(top), twips(width), twips(height ? height : 315));
    else w->move(twips(left), twips(top));
    return w;
}
}  // namespace

std::optional<Message> profileEditMessage(const ProfileResult& result, const QString& path,
                                          const QString& name) {
    const QString shown = QDir::toNativeSeparators(path);
    const QString why = result.reason.isEmpty() ? QString() : QStringLiteral(": ") + result.reason;
    const QString notSaved = QStringLiteral("\r\n\r\nYour change was not saved.");
    Message m{QString(), MsgIcon::Exclamation, QStringLiteral("Game Settings")};
    switch (result.edit) {
    case ProfileEdit::Written:
    case ProfileEdit::Unchanged:
    case ProfileEdit::Skipped:
        return std::nullopt;
    case ProfileEdit::Missing:
        if (path.isEmpty()) return std::nullopt;
        m.text = QStringLiteral("Could not find ") + shown + notSaved;
        return m;
    case ProfileEdit::ReadFailed:
        m.text = QStringLiteral("Could not read ") + shown + why + notSaved;
        return m;
    case ProfileEdit::WriteFailed:
        m.text = QStringLiteral("Could not write ") + shown + why +
                 QStringLiteral("\r\n\r\nThe file was left as it was; your change was not saved.");
        return m;
    case ProfileEdit::NameNotWritable:
        m.text = QStringLiteral("The name ") + name +
                 QStringLiteral(" has letters the game cannot store. Use Western European letters only.") +
                 notSaved;
        return m;
    case ProfileEdit::NameHasControls:
        m.text = QStringLiteral("A name cannot hold a line break or another control character.") + notSaved;
        return m;
    }
    return std::nullopt;
}

ProfileDialog::ProfileDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Game Settings"));
    setFixedSize(twips(8610), twips(4320));
    const struct { Game game; int left; const char* frame;
    } frames[] = {
        {Game::UT, 120, "utFrame"}, {Game::UT2003, 3000, "ut2003Frame"}, {Game::UT2004, 5880, "ut2004Frame"}};
    for (const auto& f : frames) {
        QWidget* frame = buildFrame(f.game, gameInfo(f.game).title, controls(f.game));
        frame->setObjectName(QString::fromLatin1(f.frame));
        frame->setGeometry(twips(f.left), twips(120), twips(2535), twips(3615));
    }
    const char* names[] = {"utNameEdit",     "utTeamCombo",     "utTauntsCombo",
                           "ut2003NameEdit", "ut2003TeamCombo", "ut2003TauntsCombo",
                           "ut2004NameEdit", "ut2004TeamCombo", "ut2004TauntsCombo"};
    int n = 0;
    for (GameControls* c : {&ut_, &ut2003_, &ut2004_}) {
        c->name->setObjectName(QString::fromLatin1(names[n++]));
        c->team->setObjectName(QString::fromLatin1(names[n++]));
        c->taunts->setObjectName(QString::fromLatin1(names[n++]));
    }
    auto* note = place(new QLabel(QStringLiteral(
                           "(Options become unavailable if game paths are not correct in the VYRN settings)"), this),
                       120, 3960, 7380);  // up to "Done": the text is wider than Arial here
    note->setObjectName(QStringLiteral("pathsNote"));
    auto* done = place(new QPushButton(QStringLiteral("Done"), this), 7560, 3840, 855, 375);
    done->setObjectName(QStringLiteral("doneButton"));
    connect(done, &QPushButton::clicked, this, &ProfileDialog::onDoneClicked);
}

QWidget* ProfileDialog::buildFrame(Game game, const QString& title, GameControls& c) {
    auto* frame = new QGroupBox(title, this);
    frame->setFont(arial());
    auto* nameFrame = place(new QGroupBox(QStringLiteral("Name Change:"), frame), 120, 360, 2295, 735);
    c.name = place(new QLineEdit(nameFrame), 240, 240, 1815, 360);
    c.name->setToolTip(kNameTip);
    connect(c.name, &QLineEdit::textChanged, this, [box = c.name](const QString& text) {
        const QString filtered = filterPlayerName(text);
        if (filtered != text) box->setText(filtered);
        box->deselect();
        box->setCursorPosition(int(box->text().size()));
    });
    auto* options = place(new QGroupBox(QStringLiteral("Player Options"), frame), 120, 1200, 2325, 2325);
    place(new QLabel(QStringLiteral("Team Color:"), options), 240, 240);
    c.team = place(new QComboBox(options), 240, 480, 1815);
    c.team->setToolTip(kTeamTip);
    place(new QLabel(QStringLiteral("Voice Messages:"), options), 240, 840);
    c.taunts = place(new QComboBox(options), 240, 1080, 1815);
    c.taunts->setToolTip(kTauntTip);
    // Only choosing an item from the list counts.
    connect(c.taunts, &QComboBox::activated, this,
            [this, game](int index) { report(setTauntLevel(game, index), game); });
    connect(c.team, &QComboBox::activated, this, [this, game](int index) {
        report(game == Game::UT ? setUtTeam(index, spectateCheck->isChecked()) : setTeam(game, index), game);
    });
    if (game == Game::UT) {
        spectateCheck = place(new QCheckBox(QStringLiteral("Spectate"), options), 240, 1560);
        spectateCheck->setObjectName(QStringLiteral("spectateCheck"));
        connect(spectateCheck, &QCheckBox::toggled, this, &ProfileDialog::spectateToggled);
    }
    return frame;
}

ProfileDialog::GameControls& ProfileDialog::controls(Game game) {
    switch (game) {
        case Game::UT: return ut_;
        case Game::UT2003: return ut2003_;
        case Game::UT2004: break;
    }
    return ut2004_;
}

void ProfileDialog::spectateToggled(bool on) {
    if (on) {
        // 255 is the spectator's own; any other team is the one to come back to.
        if (const auto team = readUtTeam(); team && *team != 255) teamBeforeSpectating_ = team;
        report(setSpectator(true), Game::UT);
        return;
    }
    const int shown = ut_.team->currentIndex();
    report(setSpectator(false, shown >= 0 ? shown : teamBeforeSpectating_.value_or(0)), Game::UT);
}

void ProfileDialog::report(const ProfileResult& result, Game game, const QString& name) {
    if (const auto message = profileEditMessage(result, profileFilePath(game).value_or(QString()), name))
        prompter().ask(*message);
}

void ProfileDialog::load() {
    centreOnScreen(this);
    for (Game game : {Game::UT, Game::UT2003, Game::UT2004}) {
        GameControls& c = controls(game);
        const bool usable = profileFilePath(game).has_value();
        c.name->setEnabled(usable);
        c.team->setEnabled(usable);
        c.taunts->setEnabled(usable);
        if (game == Game::UT) {
            spectateCheck->setEnabled(usable);
            // A tick found in the file is shown; the file already says so.
            if (usable && readSpectator()) {
                const QSignalBlocker quiet(spectateCheck);
                spectateCheck->setChecked(true);
                if (const auto team = readUtTeam(); team && *team != 255) teamBeforeSpectating_ = team;
            }
        }
    }
    const QStringList utTeams{"Red Team", "Blue Team", "Green Team", "Gold Team"};
    const QStringList teams{"Red Team", "Blue Team"};
    for (GameControls* c : {&ut_, &ut2003_, &ut2004_}) {
        c->team->clear();
        c->team->addItems(c == &ut_ ? utTeams : teams);
        c->team->setCurrentIndex(-1);
        c->taunts->clear();
        c->taunts->addItems(kTaunts);
        c->taunts->setCurrentIndex(-1);
    }
}

void ProfileDialog::onDoneClicked() {
    bool refused = false;
    for (Game game : {Game::UT, Game::UT2003, Game::UT2004}) {
        const QString name = controls(game).name->text();
        if (name.isEmpty()) continue;
        const ProfileResult result = setPlayerName(game, name);
        refused = refused || result == ProfileEdit::NameNotWritable || result == ProfileEdit::NameHasControls;
        report(result, game, name);
    }
    // A refused name stays in its box for the player to correct.
    if (!refused) accept();
}
