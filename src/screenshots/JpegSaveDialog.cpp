#include "screenshots/JpegSaveDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/Prompter.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/ElidedText.h"
#include "state/AppConfig.h"

CreateFolderResult createFolderIn(const QString& parentFolder, const QString& name) {
    if (name.contains('\\') || name.contains('/')) return CreateFolderResult::HasSlash;
    const QString path = QDir::cleanPath(parentFolder + QDir::separator() + name);
    if (name == QLatin1String(".") || name == QLatin1String("..") || QFileInfo::exists(path))
        return CreateFolderResult::Failed;
    return QDir().mkdir(path) ? CreateFolderResult::Created : CreateFolderResult::Failed;
}

JpegSaveDialog::JpegSaveDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("VYRN - Save A Picture"));
    driveCombo = new QComboBox(this);
    for (const QFileInfo& drive : QDir::drives()) driveCombo->addItem(drive.absolutePath());
    newFolderButton = new QPushButton(QStringLiteral("New Folder"), this);
    folderLabel = new ElidedLabel(this, Qt::ElideMiddle);  // a folder's name is not markup
    folderLabel->setFullText(defaultSaveFolder());
    folderList = new QListWidget(this);
    nameEdit = new QLineEdit(QStringLiteral("mypic.jpg"), this);
    saveButton = new QPushButton(QStringLiteral("Save"), this);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);

    auto* top = new QHBoxLayout;
    top->addWidget(driveCombo, 1);
    top->addWidget(newFolderButton);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(saveButton);
    bottom->addStretch(1);
    bottom->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(folderLabel);
    layout->addWidget(folderList, 1);
    layout->addWidget(nameEdit);
    layout->addLayout(bottom);
    resize(360, 400);
    centreOnScreen(this);

    connect(saveButton, &QPushButton::clicked, this, &JpegSaveDialog::onSaveClicked);
    connect(cancelButton, &QPushButton::clicked, this, &JpegSaveDialog::onCancelClicked);
    connect(newFolderButton, &QPushButton::clicked, this, &JpegSaveDialog::onNewFolderClicked);
    connect(driveCombo, &QComboBox::activated, this, &JpegSaveDialog::onDriveChanged);
    connect(folderList, &QListWidget::itemActivated, this, &JpegSaveDialog::enterItem);

    // Load event: open at the remembered folder, or the default one when it is gone.
    QString& last = appConfig().lastSaveFolder;
    if (!last.isEmpty()) {
        if (!QFileInfo(last).isDir()) last = defaultSaveFolder();
        setDirPath(last);
    } else {
        setDirPath(defaultSaveFolder());
    }
}

void JpegSaveDialog::setDirPath(const QString& folder) {
    dirPath_ = QDir(folder).absolutePath();
    folderLabel->setFullText(dirPath_);
    refreshFolderList();
}

void JpegSaveDialog::refreshFolderList() {
    folderList->clear();
    if (!QDir(dirPath_).isRoot()) folderList->addItem(QStringLiteral(".."));
    folderList->addItems(
        QDir(dirPath_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
}

void JpegSaveDialog::enterItem(QListWidgetItem* item) {
    if (!item) return;
    setDirPath(QDir::cleanPath(dirPath_ + QDir::separator() + item->text()));
}

void JpegSaveDialog::setProposedName(const QString& name) {
    nameEdit->setText(name);
    nameEdit->setFocus();
    nameEdit->selectAll();
}

void JpegSaveDialog::onSaveClicked() {
    answer_ = SaveChoice{dirPath_, nameEdit->text()};
    accept();
}

void JpegSaveDialog::onCancelClicked() { reject(); }

void JpegSaveDialog::onDriveChanged() {
    const QString drive = driveCombo->currentText();
    if (QFileInfo(drive).isDir() && QFileInfo(drive).isReadable()) {
        setDirPath(drive);
        return;
    }
    driveCombo->setCurrentIndex(0);
    setDirPath(defaultSaveFolder());
}

void JpegSaveDialog::onNewFolderClicked() {
    while (true) {
        const auto answer = prompter().input(
            {QStringLiteral("Type in the folder name to create."), QStringLiteral("Folder Create"), QString()});
        if (!answer || answer->isEmpty()) return;
        switch (createFolderIn(dirPath_, *answer)) {
            case CreateFolderResult::HasSlash:
                prompter().ask({QStringLiteral("Don't include slashes. Just type in the name of the folder to create."),
                                MsgIcon::Information});
                continue;
            case CreateFolderResult::Created: refreshFolderList(); return;
            case CreateFolderResult::Failed:
                prompter().ask({QStringLiteral("Couldn't create folder. Folder may already exist."),
                                MsgIcon::Critical, QStringLiteral("Error")});
                return;
        }
    }
}

std::optional<SaveChoice> runSaveDialog(QWidget* parent, const QString& proposedName) {
    JpegSaveDialog dialog(parent);
    dialog.setProposedName(proposedName);
    dialog.exec();
    return dialog.answer();
}
