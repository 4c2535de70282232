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
    Drive1 = new QComboBox(this);
    for (const QFileInfo& drive : QDir::drives()) Drive1->addItem(drive.absolutePath());
    CreateButt = new QPushButton(QStringLiteral("New Folder"), this);
    Label1 = new ElidedLabel(this, Qt::ElideMiddle);  // a folder's name is not markup
    Label1->setFullText(defaultSaveFolder());
    Dir1 = new QListWidget(this);
    Text1 = new QLineEdit(QStringLiteral("mypic.jpg"), this);
    Command1 = new QPushButton(QStringLiteral("Save"), this);
    Command3 = new QPushButton(QStringLiteral("Cancel"), this);

    auto* top = new QHBoxLayout;
    top->addWidget(Drive1, 1);
    top->addWidget(CreateButt);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Command1);
    bottom->addStretch(1);
    bottom->addWidget(Command3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Label1);
    layout->addWidget(Dir1, 1);
    layout->addWidget(Text1);
    layout->addLayout(bottom);
    resize(360, 400);
    centreOnScreen(this);

    connect(Command1, &QPushButton::clicked, this, &JpegSaveDialog::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &JpegSaveDialog::Command3_Click);
    connect(CreateButt, &QPushButton::clicked, this, &JpegSaveDialog::CreateButt_Click);
    connect(Drive1, &QComboBox::activated, this, &JpegSaveDialog::Drive1_Change);
    connect(Dir1, &QListWidget::itemActivated, this, &JpegSaveDialog::enterItem);

    // Load event: open at the remembered folder, or the default one when it is gone.
    QString& last = appConfig().LastSaveFolder;
    if (!last.isEmpty()) {
        if (!QFileInfo(last).isDir()) last = defaultSaveFolder();
        setDirPath(last);
    } else {
        setDirPath(defaultSaveFolder());
    }
}

void JpegSaveDialog::setDirPath(const QString& folder) {
    dirPath_ = QDir(folder).absolutePath();
    Label1->setFullText(dirPath_);
    refreshDir1();
}

void JpegSaveDialog::refreshDir1() {
    Dir1->clear();
    if (!QDir(dirPath_).isRoot()) Dir1->addItem(QStringLiteral(".."));
    Dir1->addItems(QDir(dirPath_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
}

void JpegSaveDialog::enterItem(QListWidgetItem* item) {
    if (!item) return;
    setDirPath(QDir::cleanPath(dirPath_ + QDir::separator() + item->text()));
}

void JpegSaveDialog::setProposedName(const QString& name) {
    Text1->setText(name);
    Text1->setFocus();
    Text1->selectAll();
}

void JpegSaveDialog::Command1_Click() {
    answer_ = SaveChoice{dirPath_, Text1->text()};
    accept();
}

void JpegSaveDialog::Command3_Click() { reject(); }

void JpegSaveDialog::Drive1_Change() {
    const QString drive = Drive1->currentText();
    if (QFileInfo(drive).isDir() && QFileInfo(drive).isReadable()) {
        setDirPath(drive);
        return;
    }
    Drive1->setCurrentIndex(0);
    setDirPath(defaultSaveFolder());
}

void JpegSaveDialog::CreateButt_Click() {
    while (true) {
        const auto answer = prompter().input(
            {QStringLiteral("Type in the folder name to create."), QStringLiteral("Folder Create"), QString()});
        if (!answer || answer->isEmpty()) return;
        switch (createFolderIn(dirPath_, *answer)) {
            case CreateFolderResult::HasSlash:
                prompter().ask({QStringLiteral("Don't include slashes. Just type in the name of the folder to create."),
                                MsgIcon::Information});
                continue;
            case CreateFolderResult::Created:
                refreshDir1();
                return;
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
