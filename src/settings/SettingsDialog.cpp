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
    Form_Load();
}

SettingsDialog::~SettingsDialog() {
    // The views follow the grids; they go before the grids do.
    delete serverView_;
    delete budView_;
}

void SettingsDialog::buildControls() {
    const QString browseTip = QStringLiteral("Browse for game folder");
    const QString autoTip = QStringLiteral("Let VYRN ty to auto detect game folder.");

    // Server Favorites: legend, grid with the three picture buttons, four buttons.
    QGroupBox* frame4 = frame(this, "Frame4", QStringLiteral("Server Favorites:"));
    auto* f4 = new QVBoxLayout(frame4);
    f4->addWidget(label(frame4, "Label7", QStringLiteral("Legend: UT = UT,  UT2 = UT2003,  UT3 = UT2004")));
    auto* gridRow = new QHBoxLayout;
    serverView_ = new GridView(ServerGrid, frame4);
    serverView_->setObjectName(QStringLiteral("ServerGrid"));
    serverView_->setClickHandler([this] { highlightClickedRow(ServerGrid); });
    // Row numbers and five-digit query ports show whole.
    serverView_->setUsualContent(0, {QStringLiteral("999")});
    serverView_->setUsualContent(2, {QStringLiteral("99999")});
    gridRow->addWidget(serverView_, 1);
    auto* pictures = new QVBoxLayout;
    auto* picture1 = new PictureButton(PictureButton::Arrow::Up, QStringLiteral("Picture4"), frame4);
    auto* picture2 = new PictureButton(PictureButton::Arrow::Down, QStringLiteral("Picture3"), frame4);
    auto* picture6 = new PictureButton(PictureButton::Arrow::Swap, QStringLiteral("Picture5"), frame4);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture2->setObjectName(QStringLiteral("Picture2"));
    picture6->setObjectName(QStringLiteral("Picture6"));
    picture1->setToolTip(QStringLiteral("Moves highlighted entry upwards."));
    picture2->setToolTip(QStringLiteral("Moves highlighted entry downwards."));
    picture6->setToolTip(QStringLiteral("Swaps a server entry for another entry's place in the list."));
    picture1->setAction([this] { MoveFavouriteUp(ServerGrid); });
    picture2->setAction([this] { MoveFavouriteDown(ServerGrid); });
    picture6->setReleaseAfterAction(true);
    picture6->setAction([this] { SwapFavourites(ServerGrid, [this] { return showSwap(ServerGrid, this); }); });
    pictures->addWidget(picture1);
    pictures->addStretch();
    pictures->addWidget(picture2);
    pictures->addStretch();
    pictures->addWidget(picture6);
    gridRow->addLayout(pictures);
    f4->addLayout(gridRow, 1);
    auto* favButtons = new QHBoxLayout;
    const InputAsker ask = [](const InputRequest& request) { return prompter().input(request); };
    const GameChooser chooseGame = [this](const QString& code) { return showSelectGame(code, this); };
    QPushButton* add = button(frame4, "Command1", QStringLiteral("Add"), QStringLiteral("Add a server."));
    QPushButton* remove = button(frame4, "Command2", QStringLiteral("Remove"), QStringLiteral("Remove a server."));
    QPushButton* edit = button(frame4, "Command3", QStringLiteral("Edit"), QStringLiteral("Edit a server."));
    QPushButton* clear = button(frame4, "Command4", QStringLiteral("Clear"), QStringLiteral("Clear all servers."));
    connect(add, &QPushButton::clicked, this, [this, ask, chooseGame] { AddFavourite(ServerGrid, ask, chooseGame); });
    connect(remove, &QPushButton::clicked, this, [this] { RemoveFavourite(ServerGrid); });
    serverView_->setKeysSelectRows(true);
    serverView_->setDeleteHandler([remove] { remove->click(); });
    connect(edit, &QPushButton::clicked, this, [this, ask, chooseGame] { EditFavourite(ServerGrid, ask, chooseGame); });
    connect(clear, &QPushButton::clicked, this, [this] {
        if (confirmClear(QStringLiteral("server"))) ClearFavourites(ServerGrid);
    });
    for (QPushButton* b : {add, remove, edit, clear}) favButtons->addWidget(b);
    f4->addLayout(favButtons);

    // Buddies: grid and four buttons.
    QGroupBox* frame3 = frame(this, "Frame3", QStringLiteral("Buddies:"));
    auto* f3 = new QVBoxLayout(frame3);
    budView_ = new GridView(BudList, frame3);
    budView_->setObjectName(QStringLiteral("BudList"));
    budView_->setClickHandler([this] { highlightClickedRow(BudList); });
    f3->addWidget(budView_, 1);
    auto* budButtons = new QHBoxLayout;
    QPushButton* budAdd = button(frame3, "Command12", QStringLiteral("Add"), QStringLiteral("Add a buddy to list."));
    QPushButton* budRemove = button(frame3, "Command11", QStringLiteral("Remove"), QStringLiteral("Remove a buddy from list."));
    QPushButton* budEdit = button(frame3, "Command14", QStringLiteral("Edit"), QStringLiteral("Edit a buddy from list."));
    QPushButton* budClear = button(frame3, "Command13", QStringLiteral("Clear"));
    connect(budAdd, &QPushButton::clicked, this, [this, ask] { AddBuddy(BudList, ask); });
    connect(budRemove, &QPushButton::clicked, this, [this] { RemoveBuddy(BudList); });
    budView_->setKeysSelectRows(true);
    budView_->setDeleteHandler([budRemove] { budRemove->click(); });
    connect(budEdit, &QPushButton::clicked, this, [this, ask] { EditBuddy(BudList, ask); });
    connect(budClear, &QPushButton::clicked, this, [this] {
        if (confirmClear(QStringLiteral("buddy"))) ClearBuddies(BudList);
    });
    for (QPushButton* b : {budAdd, budRemove, budEdit, budClear}) budButtons->addWidget(b);
    f3->addLayout(budButtons);

    // VYRN Settings: per game a label, the path box and Browse / Auto / Import Favs.
    QGroupBox* frame1 = frame(this, "Frame1", QStringLiteral("VYRN Settings:"));
    auto* f1 = new QVBoxLayout(frame1);
    struct GameControls {
        Game game;
        const char *label, *text, *browse, *detect, *import;
        QString caption, importTip;
        QLineEdit** box;
    };
    const GameControls games[] = {
        {Game::UT, "Label1", "Text1", "Command5", "Command16", "Command8", QStringLiteral("Path to UT"),
         QStringLiteral("Get favorites from UT and brings them into VYRN."), &Text1},
        {Game::UT2003, "Label2", "Text2", "Command6", "Command17", "Command7", QStringLiteral("Path to UT2003"),
         QStringLiteral("Get favorites from UT2003 and brings them into VYRN."), &Text2},
        {Game::UT2004, "Label3", "Text3", "Command9", "Command18", "Command10", QStringLiteral("Path to UT2004"),
         QStringLiteral("Get favorites from UT2004 and brings them into VYRN."), &Text3},
    };
    for (const GameControls& g : games) {
        f1->addWidget(label(frame1, g.label, g.caption));
        auto* box = new QLineEdit(frame1);
        box->setObjectName(QLatin1String(g.text));
        *g.box = box;
        f1->addWidget(box);
        auto* row = new QHBoxLayout;
        QPushButton* browse = button(frame1, g.browse, QStringLiteral("Browse"), browseTip);
        QPushButton* detect = button(frame1, g.detect, QStringLiteral("Auto"), autoTip);
        QPushButton* import = button(frame1, g.import, QStringLiteral("Import Favs"), g.importTip);
        const Game game = g.game;
        connect(browse, &QPushButton::clicked, this, [this, game] { this->browse(game); });
        connect(detect, &QPushButton::clicked, this, [this, game] { this->detect(game); });
        connect(import, &QPushButton::clicked, this, [this, game] {
            const ImportResult result = ImportFavourites(ServerGrid, game, pathBox(game)->text());
            if (!result.refused.isEmpty())
                prompter().ask({refusedImportText(game, result.refused), MsgIcon::Exclamation});
        });
        row->addWidget(browse);
        row->addWidget(detect);
        row->addWidget(import);
        row->addStretch();
        f1->addLayout(row);
    }
    QLabel* note = label(frame1, "Label6",
                         QStringLiteral("Note: Import will not bring a server into your VYRN server list "
                                        "if the IP and port already exists."));
    note->setWordWrap(true);
    f1->addWidget(note);
    f1->addWidget(label(frame1, "Label4", QStringLiteral("After launching into a server:")));
    auto* options = new QHBoxLayout;
    Option1 = new QRadioButton(QStringLiteral("Exit VYRN"), frame1);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option1->setToolTip(QStringLiteral("Exit VYRN after launching into a server."));
    Option2 = new QRadioButton(QStringLiteral("Send VYRN to Systray"), frame1);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option2->setToolTip(QStringLiteral("Minimize VYRN after launching into a server."));
    Option1->setChecked(true);
    options->addWidget(Option1);
    options->addWidget(Option2);
    f1->addLayout(options);
    f1->addWidget(label(frame1, "Label5", QStringLiteral("Refresh Delay:")));
    Slider1 = new QSlider(Qt::Horizontal, frame1);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setToolTip(QStringLiteral("How fast VYRN should refresh the server list."));
    Slider1->setRange(kMinRefreshDelay, kMaxRefreshDelay);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(1);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setTickInterval(1);
    f1->addWidget(Slider1);
    CheckAlerts = new QCheckBox(QStringLiteral("Alert me when a buddy starts playing"), frame1);
    CheckAlerts->setObjectName(QStringLiteral("CheckAlerts"));
    CheckAlerts->setChecked(true);
    CheckAlerts->setToolTip(QStringLiteral("Shows a desktop notification when a buddy is first seen on a server."));
    f1->addWidget(CheckAlerts);
    f1->addStretch();

    QPushButton* done = button(this, "Command15", QStringLiteral("Done"));
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* cancel = button(this, "cancelButton", QStringLiteral("Cancel"),
                                 QStringLiteral("Close without saving: every file stays as it was."));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* closing = new QHBoxLayout;
    closing->addStretch();
    closing->addWidget(done);
    closing->addWidget(cancel);

    auto* layout = new QGridLayout(this);
    layout->addWidget(frame4, 0, 0);
    layout->addWidget(frame3, 1, 0, 2, 1);
    layout->addWidget(frame1, 0, 1, 2, 1);
    layout->addLayout(closing, 2, 1, Qt::AlignBottom);
    layout->setRowStretch(0, 3);
    layout->setRowStretch(1, 2);
    // The designed inner area, 8910 x 7785 twips.
    resize(GridView::twipsToPixels(8910), GridView::twipsToPixels(7785));
}

void SettingsDialog::Form_Load() {
    resize(size().expandedTo(minimumSizeHint()));
    centreOnScreen(this);
    Slider1->setValue(1);
    layoutSettingsServerGrid(ServerGrid, kGameColumnWidthOnOpen);
    loadSettingsServerGrid(ServerGrid);
    layoutSettingsBuddyGrid(BudList);
    configAtOpen_ = appConfig();
    SettingsValues v = values();
    stored_ = LoadSettings(v, appConfig(), BudList);
    showValues(v);
}

SettingsValues SettingsDialog::values() const {
    SettingsValues v;
    for (Game g : kGames) v.path(g) = pathBox(g)->text();
    v.exitAfterLaunch = !Option2->isChecked();
    v.refreshDelay = Slider1->value();
    v.buddyAlerts = CheckAlerts->isChecked();
    return v;
}

void SettingsDialog::showValues(const SettingsValues& v) {
    for (Game g : kGames) pathBox(g)->setText(v.path(g));
    (v.exitAfterLaunch ? Option1 : Option2)->setChecked(true);
    Slider1->setValue(v.refreshDelay);
    CheckAlerts->setChecked(v.buddyAlerts);
}

QLineEdit* SettingsDialog::pathBox(Game game) const {
    switch (game) {
        case Game::UT: return Text1;
        case Game::UT2003: return Text2;
        case Game::UT2004: break;
    }
    return Text3;
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

void SettingsDialog::SaveSettingsNow() {
    // A file that could not be written keeps its old contents; the user must know.
    QStringList texts;
    for (const SaveResult& failed : SaveSettings(values(), ServerGrid, BudList, appConfig(), stored_))
        texts.append(saveFailureText(failed));
    if (!texts.isEmpty()) prompter().ask({texts.join(QStringLiteral("\n\n")), MsgIcon::Exclamation});
}

void SettingsDialog::done(int result) {
    // "Done" and the close box save; "Cancel" and Escape take back what Browse and Auto set.
    if (!saved_) {
        saved_ = true;
        if (result == QDialog::Accepted) SaveSettingsNow();
        else appConfig() = configAtOpen_;
    }
    QDialog::done(result);
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    if (isVisible()) accept();
    event->accept();
}
