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
    bool Form_Load();
    // The unload steps: temporary files gone, pictures cleared, "vyrn.ini" rewritten.
    void Form_Unload();

    PictureBrowser& browser() { return browser_; }
    PictureRenderer& renderer() { return renderer_; }
    // Tests answer the save dialog without showing it.
    void setSaveDialogRunner(SaveDialogRunner runner) { runSaveDialog_ = std::move(runner); }

    void Command1_Click();  // Save as JPG
    void Command2_Click();  // next
    void Command3_Click();  // previous
    void Command4_Click();  // brightness Change
    void Command5_Click();  // Default
    void Command7_Click();  // last
    void Command8_Click();  // first
    void Command9_Click();  // Delete
    void Check1_Click();

    QLabel* Image1;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QCheckBox* Check1;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;
    QPushButton* Command7;
    QPushButton* Command8;
    QPushButton* Command9;

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
