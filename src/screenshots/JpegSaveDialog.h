#pragma once
#include <QDialog>
#include <optional>

#include "screenshots/JpegExport.h"

class QComboBox;
class ElidedLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

enum class CreateFolderResult { Created, HasSlash, Failed };
// Creates the folder `name` inside `parentFolder`; names with "\" or "/" are refused.
CreateFolderResult createFolderIn(const QString& parentFolder, const QString& name);

// "VYRN - Save A Picture": picks folder and name for the JPEG export. It opens at the
// remembered save folder; Save answers with the folder shown and the name as typed.
class JpegSaveDialog : public QDialog {
    Q_OBJECT
public:
    explicit JpegSaveDialog(QWidget* parent = nullptr);

    QString dirPath() const { return dirPath_; }
    // Points the folder list at the folder (the folder list's change event).
    void setDirPath(const QString& folder);
    // Puts the proposed name into the name field, selected.
    void setProposedName(const QString& name);

    // The answer of Save; nothing before it or after Cancel.
    std::optional<SaveChoice> answer() const { return answer_; }

    void onSaveClicked();       // Save
    void onCancelClicked();     // Cancel
    void onNewFolderClicked();  // New Folder
    void onDriveChanged();

    QComboBox* driveCombo;
    QPushButton* newFolderButton;
    ElidedLabel* folderLabel;
    QListWidget* folderList;
    QLineEdit* nameEdit;
    QPushButton* saveButton;
    QPushButton* cancelButton;

private:
    void refreshFolderList();
    void enterItem(QListWidgetItem* item);
    QString dirPath_;
    std::optional<SaveChoice> answer_;
};

// Shows JpegSaveDialog modally with the proposed name (the export's dialog step).
std::optional<SaveChoice> runSaveDialog(QWidget* parent, const QString& proposedName);
