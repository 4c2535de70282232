#include "profile/frmGameSettings.h"

#include <QCheckBox>
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

frmGameSettings::frmGameSettings(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Game Settings"));
    setFixedSize(twips(8610), twips(4320));
    const struct { ProfileGame game; const char* title; int left; const char* frame; } frames[] = {
        {ProfileGame::UT, "Unreal Tournament", 120, "Frame5"},
        {ProfileGame::UT2003, "Unreal Tournament 2003", 3000, "Frame1"},
        {ProfileGame::UT2004, "Unreal Tournament 2004", 5880, "Frame7"}};
    for (const auto& f : frames) {
        QWidget* frame = buildFrame(f.game, QString::fromLatin1(f.title), controls(f.game));
        frame->setObjectName(QString::fromLatin1(f.frame));
        frame->setGeometry(twips(f.left), twips(120), twips(2535), twips(3615));
    }
    const char* names[] = {"Text1", "Combo3", "Combo4", "Text2", "Combo2", "Combo1", "Text3", "Combo6", "Combo5"};
    int n = 0;
    for (GameControls* c : {&ut_, &ut2003_, &ut2004_}) {
        c->name->setObjectName(QString::fromLatin1(names[n++]));
        c->team->setObjectName(QString::fromLatin1(names[n++]));
        c->taunts->setObjectName(QString::fromLatin1(names[n++]));
    }
    auto* note = place(new QLabel(QStringLiteral(
                           "(Options become unavailable if game paths are not correct in the VYRN settings)"), this),
                       120, 3960, 6615);
    note->setObjectName(QStringLiteral("Label7"));
    auto* done = place(new QPushButton(QStringLiteral("Done"), this), 7560, 3840, 855, 375);
    done->setObjectName(QStringLiteral("Command15"));
    connect(done, &QPushButton::clicked, this, &frmGameSettings::Command15_Click);
}

QWidget* frmGameSettings::buildFrame(ProfileGame game, const QString& title, GameControls& c) {
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
    connect(c.taunts, &QComboBox::activated, this, [this, game](int index) {
        report(SetTauntLevel(game, index), game);
    });
    connect(c.team, &QComboBox::activated, this, [this, game](int index) {
        report(game == ProfileGame::UT ? SetUtTeam(index, Check2->isChecked()) : SetTeam(game, index), game);
    });
    if (game == ProfileGame::UT) {
        Check2 = place(new QCheckBox(QStringLiteral("Spectate"), options), 240, 1560);
        Check2->setObjectName(QStringLiteral("Check2"));
        connect(Check2, &QCheckBox::toggled, this, [this](bool on) { report(SetSpectator(on), ProfileGame::UT); });
    }
    return frame;
}

frmGameSettings::GameControls& frmGameSettings::controls(ProfileGame game) {
    switch (game) {
        case ProfileGame::UT: return ut_;
        case ProfileGame::UT2003: return ut2003_;
        case ProfileGame::UT2004: break;
    }
    return ut2004_;
}

void frmGameSettings::report(ProfileEdit result, ProfileGame game) {
    if (const auto message = profileEditMessage(result, profileFilePath(game))) prompter().ask(*message);
}

void frmGameSettings::Form_Load() {
    centreOnScreen(this);
    for (ProfileGame game : {ProfileGame::UT, ProfileGame::UT2003, ProfileGame::UT2004}) {
        GameControls& c = controls(game);
        const bool usable = profileFileExists(game);
        c.name->setEnabled(usable);
        c.team->setEnabled(usable);
        c.taunts->setEnabled(usable);
        if (game == ProfileGame::UT) {
            Check2->setEnabled(usable);
            // A tick found in the file is written back as the user's own tick would be.
            if (usable && ReadSpectator()) Check2->setChecked(true);
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

void frmGameSettings::Command15_Click() {
    for (ProfileGame game : {ProfileGame::UT, ProfileGame::UT2003, ProfileGame::UT2004}) {
        const QString name = controls(game).name->text();
        if (!name.isEmpty()) report(SetPlayerName(game, name), game);
    }
    accept();
}
