#include "settings/FolderDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

#include "platform/WineRegistry.h"
#include "dialogs/DialogPlacement.h"
#include "platform/Prompter.h"

QStringList FolderDialog::volumeRoots() {
    QStringList roots;
    const QString driveC = QDir(winePrefix()).filePath(QStringLiteral("drive_c"));
    if (QFileInfo(driveC).isDir()) roots.append(QDir::cleanPath(driveC));
    roots.append(QDir::homePath());
    // Where the native ports are usually installed, so Browse reaches them in one step.
    for (const QString& place : {QDir::home().filePath(QStringLiteral(".local/share/OldUnreal")),
                                 QStringLiteral("/usr/local/games"), QStringLiteral("/opt")})
        if (QFileInfo(place).isDir() && !roots.contains(place)) roots.append(place);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    if (!roots.contains(QStringLiteral("/"))) roots.append(QStringLiteral("/"));
    return roots;
}

FolderDialog::FolderDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("folderDialog"));
    setWindowTitle(caption.isEmpty() ? QStringLiteral("Choose Folder") : caption);
    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1 = new QTreeView(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    typedFolder_ = new QLineEdit(this);
    typedFolder_->setObjectName(QStringLiteral("typedFolder"));
    typedFolder_->setPlaceholderText(QStringLiteral("Type a folder and press Enter"));
    auto* select = new QPushButton(QStringLiteral("&Select"), this);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    select->setObjectName(QStringLiteral("Command1"));
    cancel->setObjectName(QStringLiteral("Command2"));
    select->setAutoDefault(false);
    cancel->setAutoDefault(false);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    model_->setRootPath(QStringLiteral("/"));
    Dir1->setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c) Dir1->hideColumn(c);
    Dir1->header()->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Drive1);
    layout->addWidget(typedFolder_);
    layout->addWidget(Dir1, 1);
    layout->addWidget(Label1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(select);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    resize(360, 420);

    Drive1->addItems(volumeRoots());
    connect(Drive1, &QComboBox::currentIndexChanged, this, &FolderDialog::Drive1_Change);
    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { Label1->setText(selectedFolder()); });
    connect(select, &QPushButton::clicked, this, &FolderDialog::Command1_Click);
    connect(typedFolder_, &QLineEdit::returnPressed, this, &FolderDialog::goToTypedFolder);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    Drive1_Change(0);
    centreOnScreen(this);
}

void FolderDialog::Drive1_Change(int index) {
    const QString root = Drive1->itemText(index);
    if (!QFileInfo(root).isDir() || !QFileInfo(root).isReadable()) {
        // An unreadable place: the tree stays, the list goes back to the first place.
        const QSignalBlocker block(Drive1);
        Drive1->setCurrentIndex(0);
        return;
    }
    Dir1->setRootIndex(model_->index(root));
    selectFolder(root);
}

void FolderDialog::selectFolder(const QString& folder) {
    const QModelIndex index = model_->index(folder);
    if (!index.isValid()) return;
    Dir1->setCurrentIndex(index);
    Dir1->scrollTo(index);
    Label1->setText(selectedFolder());
}

QString FolderDialog::selectedFolder() const {
    const QModelIndex current = Dir1->currentIndex();
    if (current.isValid()) return model_->filePath(current);
    return Drive1->currentText();
}

bool FolderDialog::goToTypedFolder() {
    QString typed = typedFolder_->text().trimmed();
    if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/")))
        typed = QDir::homePath() + typed.mid(1);
    if (!QFileInfo(typed).isDir()) {
        prompter().ask({QStringLiteral("The folder ") + typed + QStringLiteral(" does not exist."),
                        MsgIcon::Exclamation, windowTitle()});
        return false;
    }
    typed = QDir::cleanPath(QFileInfo(typed).absoluteFilePath());
    if (!typed.startsWith(model_->filePath(Dir1->rootIndex())))
        Dir1->setRootIndex(model_->index(QStringLiteral("/")));
    selectFolder(typed);
    return true;
}

void FolderDialog::Command1_Click() {
    // A folder typed but not yet gone to counts as the choice.
    if (!typedFolder_->text().trimmed().isEmpty() && !goToTypedFolder()) return;
    chosenFolder_ = selectedFolder();
    accept();
}
