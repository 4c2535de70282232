#pragma once
#include <QDialog>
#include <optional>

#include "settings/SettingsValues.h"
#include "state/FlexGrid.h"

class GridView;
class QLineEdit;
class QRadioButton;
class QCheckBox;
class QSlider;

// "VYRN Settings": the game paths, the after-launch choice, the scan delay, and the
// editors of the favourites and buddies on the dialog's own two grids. Opening reads
// "vyrn.ini", "servers.ini" and "buddies.ini"; "Done" and the close box write what was
// changed, "Cancel" and Escape leave every file as it was.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(bool firstRun, QWidget* parent = nullptr);
    ~SettingsDialog() override;

    FlexGrid favouritesGrid{2, 4};
    FlexGrid buddyGrid{2, 1};

    // The values the controls hold now.
    SettingsValues values() const;

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void load();
    void showValues(const SettingsValues& v);
    QLineEdit* pathBox(Game game) const;
    void browse(Game game);
    void detect(Game game);
    void saveAll();
    bool confirmClear(const QString& what);

    GridView* serverView_ = nullptr;
    GridView* buddyView_ = nullptr;
    QLineEdit* utPathEdit = nullptr;
    QLineEdit* ut2003PathEdit = nullptr;
    QLineEdit* ut2004PathEdit = nullptr;
    QRadioButton* exitOption = nullptr;
    QRadioButton* trayOption = nullptr;
    QSlider* refreshDelaySlider = nullptr;
    QCheckBox* buddyAlertsCheck = nullptr;
    QCheckBox* buddyHistoryCheck = nullptr;
    bool saved_ = false;
    std::optional<SettingsValues> stored_;  // the values as "vyrn.ini" had them
    AppConfig configAtOpen_;                // given back on Cancel
};
