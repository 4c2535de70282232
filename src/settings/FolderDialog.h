#pragma once
#include <QDialog>
#include <optional>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QTreeView;

// "Choose Folder": a volume list, a folder tree (hidden folders such as ~/.wine
// included) and a box to type a folder into; "&Select" takes the selected folder,
// "&Cancel" and the close box take none. A typed folder that does not exist is refused.
class FolderDialog : public QDialog {
    Q_OBJECT
public:
    explicit FolderDialog(const QString& caption, QWidget* parent = nullptr);

    // Moves the tree to a folder (the selection of a test or a typed place).
    void selectFolder(const QString& folder);
    QString selectedFolder() const;
    std::optional<QString> chosenFolder() const { return chosenFolder_; }

    // The places of the volume list: the Wine prefix's drive C, the home folder, the
    // usual folders of native game installs and every mounted volume that can be read.
    static QStringList volumeRoots();

private:
    void onVolumeChanged(int index);
    void onSelectClicked();
    bool goToTypedFolder();

    QComboBox* volumeCombo;
    QTreeView* folderTree;
    QLabel* folderLabel;
    QLineEdit* typedFolder_;
    QFileSystemModel* model_;
    std::optional<QString> chosenFolder_;
};
