#pragma once
#include <QDialog>

#include "screenshots/JpegExport.h"
#include "screenshots/PictureBrowser.h"
#include "screenshots/PictureRenderer.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "VYRN Screen shot preview": browses one folder of screenshots, adjusts brightness and
// exports as JPEG. The rules live in PictureBrowser, PictureRenderer and the export.
class ScreenshotViewer : public QDialog {
    Q_OBJECT
public:
    explicit ScreenshotViewer(const QString& screenshotFolder, QWidget* parent = nullptr);
    ~ScreenshotViewer() override;

    // The load event: false (after the message) when the folder is missing.
    bool loadFolder();
    // The unload steps: temporary files gone, pictures cleared, "vyrn.ini" rewritten.
    void cleanUp();

    PictureBrowser& browser() { return browser_; }
    PictureRenderer& renderer() { return renderer_; }
    // Tests answer the save dialog without showing it.
    void setSaveDialogRunner(SaveDialogRunner runner) { runSaveDialog_ = std::move(runner); }

    void onSaveAsJpgClicked();          // Save as JPG
    void onNextClicked();               // next
    void onPreviousClicked();           // previous
    void onChangeBrightnessClicked();   // brightness Change
    void onDefaultBrightnessClicked();  // Default
    void onLastClicked();               // last
    void onFirstClicked();              // first
    void onDeleteClicked();             // Delete
    void onSortByDateClicked();

    QLabel* previewLabel;
    QLineEdit* brightnessEdit;
    QLineEdit* widthEdit;
    QLineEdit* heightEdit;
    QLineEdit* qualityEdit;
    QCheckBox* sortByDateCheck;
    QPushButton* saveAsJpgButton;
    QPushButton* nextButton;
    QPushButton* previousButton;
    QPushButton* changeBrightnessButton;
    QPushButton* defaultBrightnessButton;
    QPushButton* lastButton;
    QPushButton* firstButton;
    QPushButton* deleteButton;

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void showCurrent();
    void refreshPreview();
    bool handleKey(const QString& text);
    // True for the "-" that starts a negative brightness.
    bool typesLeadingMinus(QObject* watched, const QString& text) const;
    void checkField(QLineEdit* field, const QString& replacement);

    PictureBrowser browser_;
    PictureRenderer renderer_;
    SaveDialogRunner runSaveDialog_;
    bool unloaded_ = false;
    bool checkingField_ = false;
};
