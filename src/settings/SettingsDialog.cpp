#include "settings/SettingsDialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QSlider>
#include <QVBoxLayout>

#include "platform/Prompter.h"
#include "settings/BuddyEditor.h"
#include "dialogs/DialogPlacement.h"
#include "settings/FavouritesEditor.h"
#include "settings/FavouritesImport.h"
#include "settings/FolderDialog.h"
#include "settings/GameChoiceDialog.h"
#include "settings/GameDetection.h"
#include "settings/SwapRowsDialog.h"
#include "settings/PictureButton.h"
#include "settings/SettingsGrids.h"
#include "dialogs/GridView.h"

namespace {
QPushButton* button(QWidget* parent, const char* name, const QString& caption,
                    const QString& tooltip = {}) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    if (!tooltip.isEmpty()) b->setToolTip(tooltip);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* parent, const char* name, const QString& caption) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QGroupBox* frame(QWidget* parent, const char* name, const QString& caption) {
    auto* f = new QGroupBox(caption, parent);
    f->setObjectName(QLatin1String(name));
    return f;
}
}  // namespace

SettingsDialog::SettingsDialog(bool firstRun, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("settingsDialog"));
    setWindowTitle(firstRun ? QStringLiteral("VYRN Settings (First Time Setup)")
                            : QStringLiteral("VYRN Settings"));
    buildControls();
    load();
}

SettingsDialog::~SettingsDialog() {
    // The views follow the grids; they go before the grids do.
    delete serverView_;
    delete buddyView_;
}

void SettingsDialog::buildControls() {
    const QString browseTip = QStringLiteral("Browse for game folder");
    const QString autoTip = QStringLiteral("Let VYRN ty to auto detect game folder.");

    // Server Favorites: legend, grid with the three picture buttons, four buttons.
    QGroupBox* favouritesFrame = frame(this, "favouritesFrame", QStringLiteral("Server Favorites:"));
    auto* favouritesLayout = new QVBoxLayout(favouritesFrame);
    favouritesLayout->addWidget(label(favouritesFrame, "legendLabel",
                                      QStringLiteral("Legend: UT = UT,  UT2 = UT2003,  UT3 = UT2004")));
    auto* gridRow = new QHBoxLayout;
    serverView_ = new GridView(favouritesGrid, favouritesFrame);
    serverView_->setObjectName(QStringLiteral("favouritesGrid"));
    serverView_->setClickHandler([this] { highlightClickedRow(favouritesGrid); });
    // Row numbers and five-digit query ports show whole.
    serverView_->setUsualContent(0, {QStringLiteral("999")});
    serverView_->setUsualContent(2, {QStringLiteral("99999")});
    gridRow->addWidget(serverView_, 1);
    auto* pictures = new QVBoxLayout;
    auto* moveUpButton =
        new PictureButton(PictureButton::Arrow::Up, QStringLiteral("moveUpPressed"), favouritesFrame);
    auto* moveDownButton =
        new PictureButton(PictureButton::Arrow::Down, QStringLiteral("moveDownPressed"), favouritesFrame);
    auto* swapButton =
        new PictureButton(PictureButton::Arrow::Swap, QStringLiteral("swapPressed"), favouritesFrame);
    moveUpButton->setObjectName(QStringLiteral("moveUpButton"));
    moveDownButton->setObjectName(QStringLiteral("moveDownButton"));
    swapButton->setObjectName(QStringLiteral("swapButton"));
    moveUpButton->setToolTip(QStringLiteral("Moves highlighted entry upwards."));
    moveDownButton->setToolTip(QStringLiteral("Moves highlighted entry downwards."));
    swapButton->setToolTip(QStringLiteral("Swaps a server entry for another entry's place in the list."));
    moveUpButton->setAction([this] { moveFavouriteUp(favouritesGrid); });
    moveDownButton->setAction([this] { moveFavouriteDown(favouritesGrid); });
    swapButton->setReleaseAfterAction(true);
    swapButton->setAction(
        [this] { swapFavourites(favouritesGrid, [this] { return showSwap(favouritesGrid, this); }); });
    pictures->addWidget(moveUpButton);
    pictures->addStretch();
    pictures->addWidget(moveDownButton);
    pictures->addStretch();
    pictures->addWidget(swapButton);
    gridRow->addLayout(pictures);
    favouritesLayout->addLayout(gridRow, 1);
    auto* favButtons = new QHBoxLayout;
    const InputAsker ask = [](const InputRequest& request) { return prompter().input(request); };
    const GameChooser chooseGame = [this](const QString& code) { return showSelectGame(code, this); };
    QPushButton* add =
        button(favouritesFrame, "addFavouriteButton", QStringLiteral("Add"), QStringLiteral("Add a server."));
    QPushButton* remove = button(favouritesFrame, "removeFavouriteButton", QStringLiteral("Remove"),
                                 QStringLiteral("Remove a server."));
    QPushButton* edit = button(favouritesFrame, "editFavouriteButton", QStringLiteral("Edit"),
                               QStringLiteral("Edit a server."));
    QPushButton* clear = button(favouritesFrame, "clearFavouritesButton", QStringLiteral("Clear"),
                                QStringLiteral("Clear all servers."));
    connect(add, &QPushButton::clicked, this,
            [this, ask, chooseGame] { addFavourite(favouritesGrid, ask, chooseGame); });
    connect(remove, &QPushButton::clicked, this, [this] { removeFavourite(favouritesGrid); });
    serverView_->setKeysSelectRows(true);
    serverView_->setDeleteHandler([remove] { remove->click(); });
    connect(edit, &QPushButton::clicked, this,
            [this, ask, chooseGame] { editFavourite(favouritesGrid, ask, chooseGame); });
    connect(clear, &QPushButton::clicked, this, [this] {
        if (confirmClear(QStringLiteral("server"))) clearFavourites(favouritesGrid);
    });
    for (QPushButton* b : {add, remove, edit, clear}) favButtons->addWidget(b);
    favouritesLayout->addLayout(favButtons);

    // Buddies: grid and four buttons.
    QGroupBox* buddiesFrame = frame(this, "buddiesFrame", QStringLiteral("Buddies:"));
    auto* buddiesLayout = new QVBoxLayout(buddiesFrame);
    buddyView_ = new GridView(buddyGrid, buddiesFrame);
    buddyView_->setObjectName(QStringLiteral("buddyGrid"));
    buddyView_->setClickHandler([this] { highlightClickedRow(buddyGrid); });
    buddiesLayout->addWidget(buddyView_, 1);
    auto* buddyButtons = new QHBoxLayout;
    QPushButton* addBuddyButton =
        button(buddiesFrame, "addBuddyButton", QStringLiteral("Add"), QStringLiteral("Add a buddy to list."));
    QPushButton* removeBuddyButton = button(buddiesFrame, "removeBuddyButton", QStringLiteral("Remove"),
                                            QStringLiteral("Remove a buddy from list."));
    QPushButton* editBuddyButton = button(buddiesFrame, "editBuddyButton", QStringLiteral("Edit"),
                                          QStringLiteral("Edit a buddy from list."));
    QPushButton* clearBuddiesButton = button(buddiesFrame, "clearBuddiesButton", QStringLiteral("Clear"));
    connect(addBuddyButton, &QPushButton::clicked, this, [this, ask] { addBuddy(buddyGrid, ask); });
    connect(removeBuddyButton, &QPushButton::clicked, this, [this] { removeBuddy(buddyGrid); });
    buddyView_->setKeysSelectRows(true);
    buddyView_->setDeleteHandler([removeBuddyButton] { removeBuddyButton->click(); });
    connect(editBuddyButton, &QPushButton::clicked, this, [this, ask] { editBuddy(buddyGrid, ask); });
    connect(clearBuddiesButton, &QPushButton::clicked, this, [this] {
        if (confirmClear(QStringLiteral("buddy"))) clearBuddies(buddyGrid);
    });
    for (QPushButton* b : {addBuddyButton, removeBuddyButton, editBuddyButton, clearBuddiesButton})
        buddyButtons->addWidget(b);
    buddiesLayout->addLayout(buddyButtons);

    // VYRN Settings: per game a label, the path box and Browse / Auto / Import Favs.
    QGroupBox* settingsFrame = frame(this, "settingsFrame", QStringLiteral("VYRN Settings:"));
    auto* settingsLayout = new QVBoxLayout(settingsFrame);
    struct GameControls {
        Game game;
        const char *label, *text, *browse, *detect, *import;
        QString caption, importTip;
        QLineEdit** box;
    };
    const GameControls games[] = {
        {Game::UT, "utPathLabel", "utPathEdit", "browseUtButton", "detectUtButton", "importUtButton",
         QStringLiteral("Path to UT"), QStringLiteral("Get favorites from UT and brings them into VYRN."),
         &utPathEdit},
        {Game::UT2003, "ut2003PathLabel", "ut2003PathEdit", "browseUt2003Button", "detectUt2003Button",
         "importUt2003Button", QStringLiteral("Path to UT2003"),
         QStringLiteral("Get favorites from UT2003 and brings them into VYRN."), &ut2003PathEdit},
        {Game::UT2004, "ut2004PathLabel", "ut2004PathEdit", "browseUt2004Button", "detectUt2004Button",
         "importUt2004Button", QStringLiteral("Path to UT2004"),
         QStringLiteral("Get favorites from UT2004 and brings them into VYRN."), &ut2004PathEdit},
    };
    for (const GameControls& g : games) {
        settingsLayout->addWidget(label(settingsFrame, g.label, g.caption));
        auto* box = new QLineEdit(settingsFrame);
        box->setObjectName(QLatin1String(g.text));
        *g.box = box;
        settingsLayout->addWidget(box);
        auto* row = new QHBoxLayout;
        QPushButton* browse = button(settingsFrame, g.browse, QStringLiteral("Browse"), browseTip);
        QPushButton* detect = button(settingsFrame, g.detect, QStringLiteral("Auto"), autoTip);
        QPushButton* import = button(settingsFrame, g.import, QStringLiteral("Import Favs"), g.importTip);
        const Game game = g.game;
        connect(browse, &QPushButton::clicked, this, [this, game] { this->browse(game); });
        connect(detect, &QPushButton::clicked, this, [this, game] { this->detect(game); });
        connect(import, &QPushButton::clicked, this, [this, game] {
            const ImportResult result = importFavourites(favouritesGrid, game, pathBox(game)->text());
            if (!result.refused.isEmpty())
                prompter().ask({refusedImportText(game, result.refused), MsgIcon::Exclamation});
        });
        row->addWidget(browse);
        row->addWidget(detect);
        row->addWidget(import);
        row->addStretch();
        settingsLayout->addLayout(row);
    }
    QLabel* note = label(settingsFrame, "importNoteLabel",
                         QStringLiteral("Note: Import will not bring a server into your VYRN server list "
                                        "if the IP and port already exists."));
    note->setWordWrap(true);
    settingsLayout->addWidget(note);
    settingsLayout->addWidget(
        label(settingsFrame, "afterLaunchLabel", QStringLiteral("After launching into a server:")));
    auto* options = new QHBoxLayout;
    exitOption = new QRadioButton(QStringLiteral("Exit VYRN"), settingsFrame);
    exitOption->setObjectName(QStringLiteral("exitOption"));
    exitOption->setToolTip(QStringLiteral("Exit VYRN after launching into a server."));
    trayOption = new QRadioButton(QStringLiteral("Send VYRN to Systray"), settingsFrame);
    trayOption->setObjectName(QStringLiteral("trayOption"));
    trayOption->setToolTip(QStringLiteral("Minimize VYRN after launching into a server."));
    exitOption->setChecked(true);
    options->addWidget(exitOption);
    options->addWidget(trayOption);
    settingsLayout->addLayout(options);
    settingsLayout->addWidget(label(settingsFrame, "refreshDelayLabel", QStringLiteral("Refresh Delay:")));
    refreshDelaySlider = new QSlider(Qt::Horizontal, settingsFrame);
    refreshDelaySlider->setObjectName(QStringLiteral("refreshDelaySlider"));
    refreshDelaySlider->setToolTip(QStringLiteral("How fast VYRN should refresh the server list."));
    refreshDelaySlider->setRange(kMinRefreshDelay, kMaxRefreshDelay);
    refreshDelaySlider->setSingleStep(1);
    refreshDelaySlider->setPageStep(1);
    refreshDelaySlider->setTickPosition(QSlider::TicksBelow);
    refreshDelaySlider->setTickInterval(1);
    settingsLayout->addWidget(refreshDelaySlider);
    buddyAlertsCheck = new QCheckBox(QStringLiteral("Alert me when a buddy starts playing"), settingsFrame);
    buddyAlertsCheck->setObjectName(QStringLiteral("buddyAlertsCheck"));
    buddyAlertsCheck->setChecked(true);
    buddyAlertsCheck->setToolTip(
        QStringLiteral("Shows a desktop notification when a buddy is first seen on a server."));
    settingsLayout->addWidget(buddyAlertsCheck);
    buddyHistoryCheck = new QCheckBox(QStringLiteral("Keep where my buddies played"), settingsFrame);
    buddyHistoryCheck->setObjectName(QStringLiteral("buddyHistoryCheck"));
    buddyHistoryCheck->setToolTip(QStringLiteral(
        "Keeps in the history on which servers and at which hours your buddies were seen.\n"
        "No other player's name is ever kept."));
    settingsLayout->addWidget(buddyHistoryCheck);
    settingsLayout->addStretch();

    QPushButton* done = button(this, "doneButton", QStringLiteral("Done"));
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* cancel = button(this, "cancelButton", QStringLiteral("Cancel"),
                                 QStringLiteral("Close without saving: every file stays as it was."));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(done);
    closing->addWidget(cancel);

    auto* layout = new QGridLayout(this);
    layout->addWidget(favouritesFrame, 0, 0);
    layout->addWidget(buddiesFrame, 1, 0, 2, 1);
    layout->addWidget(settingsFrame, 0, 1, 2, 1);
    layout->addLayout(closing, 2, 1, Qt::AlignBottom);
    layout->setRowStretch(0, 3);
    layout->setRowStretch(1, 2);
    // The designed inner area, 8910 x 7785 twips.
    resize(GridView::twipsToPixels(8910), GridView::twipsToPixels(7785));
}

void SettingsDialog::load() {
    resize(size().expandedTo(minimumSizeHint()));
    centreOnScreen(this);
    refreshDelaySlider->setValue(1);
    layoutSettingsServerGrid(favouritesGrid, kGameColumnWidthOnOpen);
    loadSettingsServerGrid(favouritesGrid);
    layoutSettingsBuddyGrid(buddyGrid);
    configAtOpen_ = appConfig();
    SettingsValues v = values();
    stored_ = loadSettings(v, appConfig(), buddyGrid);
    showValues(v);
}

SettingsValues SettingsDialog::values() const {
    SettingsValues v;
    for (Game g : kGames) v.path(g) = pathBox(g)->text();
    v.exitAfterLaunch = !trayOption->isChecked();
    v.refreshDelay = refreshDelaySlider->value();
    v.buddyAlerts = buddyAlertsCheck->isChecked();
    v.buddyHistory = buddyHistoryCheck->isChecked();
    return v;
}

void SettingsDialog::showValues(const SettingsValues& v) {
    for (Game g : kGames) pathBox(g)->setText(v.path(g));
    (v.exitAfterLaunch ? exitOption : trayOption)->setChecked(true);
    refreshDelaySlider->setValue(v.refreshDelay);
    buddyAlertsCheck->setChecked(v.buddyAlerts);
    buddyHistoryCheck->setChecked(v.buddyHistory);
}

QLineEdit* SettingsDialog::pathBox(Game game) const {
    switch (game) {
        case Game::UT: return utPathEdit;
        case Game::UT2003: return ut2003PathEdit;
        case Game::UT2004: break;
    }
    return ut2004PathEdit;
}

void SettingsDialog::browse(Game game) {
    FolderDialog chooser(browseCaption(game), this);
    chooser.exec();
    const std::optional<QString> folder = chooser.chosenFolder();
    if (!folder || folder->isEmpty()) return;
    const QString path = browsedGamePath(game, *folder);
    configPath(appConfig(), game) = path;
    pathBox(game)->setText(path);
}

void SettingsDialog::detect(Game game) {
    const GameSearch search = searchGame(game, QDir::homePath());
    if (search.path.isEmpty()) {
        prompter().ask({notFoundText(game, search.looked), MsgIcon::Information, QStringLiteral("Auto")});
        return;
    }
    configPath(appConfig(), game) = search.path;
    pathBox(game)->setText(search.path);
}

bool SettingsDialog::confirmClear(const QString& what) {
    return prompter().ask({QStringLiteral("Remove every %1 from the list?").arg(what), MsgIcon::Question,
                           QStringLiteral("Clear"), MsgButtons::YesNo, MsgAnswer::No}) == MsgAnswer::Yes;
}

void SettingsDialog::saveAll() {
    // A file that could not be written keeps its old contents; the user must know.
    QStringList texts;
    for (const SaveResult& failed : saveSettings(values(), favouritesGrid, buddyGrid, appConfig(), stored_))
        texts.append(saveFailureText(failed));
    if (!texts.isEmpty()) prompter().ask({texts.join(QStringLiteral("\n\n")), MsgIcon::Exclamation});
}

void SettingsDialog::done(int result) {
    // "Done" and the close box save; "Cancel" and Escape take back what Browse and Auto set.
    if (!saved_) {
        saved_ = true;
        if (result == QDialog::Accepted) saveAll();
        else appConfig() = configAtOpen_;
    }
    QDialog::done(result);
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    if (isVisible()) accept();
    event->accept();
}
