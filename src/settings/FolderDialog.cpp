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
    volumeCombo = new QComboBox(this);
    volumeCombo->setObjectName(QStringLiteral("volumeCombo"));
    folderTree = new QTreeView(this);
    folderTree->setObjectName(QStringLiteral("folderTree"));
    folderLabel = new QLabel(this);
    folderLabel->setObjectName(QStringLiteral("folderLabel"));
    typedFolder_ = new QLineEdit(this);
    typedFolder_->setObjectName(QStringLiteral("typedFolder"));
    typedFolder_->setPlaceholderText(QStringLiteral("Type a folder and press Enter"));
    auto* select = new QPushButton(QStringLiteral("&Select"), this);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    select->setObjectName(QStringLiteral("selectButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    select->setAutoDefault(false);
    cancel->setAutoDefault(false);

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    model_->setRootPath(QStringLiteral("/"));
    folderTree->setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c) folderTree->hideColumn(c);
    folderTree->header()->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(volumeCombo);
    layout->addWidget(typedFolder_);
    layout->addWidget(folderTree, 1);
    layout->addWidget(folderLabel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(select);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    resize(360, 420);

    volumeCombo->addItems(volumeRoots());
    connect(volumeCombo, &QComboBox::currentIndexChanged, this, &FolderDialog::onVolumeChanged);
    connect(folderTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { folderLabel->setText(selectedFolder()); });
    connect(select, &QPushButton::clicked, this, &FolderDialog::onSelectClicked);
    connect(typedFolder_, &QLineEdit::returnPressed, this, &FolderDialog::goToTypedFolder);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    onVolumeChanged(0);
    centreOnScreen(this);
}

void FolderDialog::onVolumeChanged(int index) {
    const QString root = volumeCombo->itemText(index);
    if (!QFileInfo(root).isDir() || !QFileInfo(root).isReadable()) {
        // An unreadable place: the tree stays, the list goes back to the first place.
        const QSignalBlocker block(volumeCombo);
        volumeCombo->setCurrentIndex(0);
        return;
    }
    folderTree->setRootIndex(model_->index(root));
    selectFolder(root);
}

void FolderDialog::selectFolder(const QString& folder) {
    const QModelIndex index = model_->index(folder);
    if (!index.isValid()) return;
    folderTree->setCurrentIndex(index);
    folderTree->scrollTo(index);
    folderLabel->setText(selectedFolder());
}

QString FolderDialog::selectedFolder() const {
    const QModelIndex current = folderTree->currentIndex();
    if (current.isValid()) return model_->filePath(current);
    return volumeCombo->currentText();
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
    if (!typed.startsWith(model_->filePath(folderTree->rootIndex())))
        folderTree->setRootIndex(model_->index(QStringLiteral("/")));
    selectFolder(typed);
    return true;
}

void FolderDialog::onSelectClicked() {
    // A folder typed but not yet gone to counts as the choice.
    if (!typedFolder_->text().trimmed().isEmpty() && !goToTypedFolder()) return;
    chosenFolder_ = selectedFolder();
    accept();
}
