#include "screenshots/ScreenshotViewer.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/DialogPlacement.h"
#include "platform/BmpFile.h"
#include "platform/Prompter.h"
#include "screenshots/JpegSaveDialog.h"
#include "screenshots/NumericText.h"
#include "state/AppConfig.h"
#include "state/ConfigFile.h"

namespace {
const QString kDesignCaption = QStringLiteral("VYRN Screen shot preview");

// The width of the example size the too-large message gives: the widest power of two
// whose picture, half as high, still fits (8192 x 4096).
int largestExampleWidth() {
    int width = 2;
    while (qint64(width) * 2 * width <= maxBmpPixels()) width *= 2;
    return width;
}

QPushButton* button(const QString& caption, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setToolTip(tip);
    b->setAutoDefault(false);
    return b;
}

QLineEdit* field(const QString& text, const QString& tip, QWidget* parent) {
    auto* f = new QLineEdit(text, parent);
    f->setToolTip(tip);
    f->setMaximumWidth(60);
    return f;
}
}  // namespace

ScreenshotViewer::ScreenshotViewer(const QString& screenshotFolder, QWidget* parent) : QDialog(parent) {
    browser_.screenshotFolder = screenshotFolder;
    runSaveDialog_ = [this](const QString& name) { return runSaveDialog(this, name); };
    setWindowTitle(kDesignCaption);
    buildControls();
    centreOnScreen(this);
}

ScreenshotViewer::~ScreenshotViewer() = default;

void ScreenshotViewer::buildControls() {
    previewLabel = new QLabel(this);
    previewLabel->setFixedSize(PictureRenderer::kPreviewWidth, PictureRenderer::kPreviewHeight);
    previewLabel->setAlignment(Qt::AlignCenter);
    previewLabel->setTextFormat(Qt::PlainText);
    previewLabel->setWordWrap(true);
    previewLabel->setToolTip(
        QStringLiteral("Pictures may be larger than they appear in the preview window."));

    auto* brightnessFrame = new QGroupBox(this);
    brightnessEdit =
        field(QStringLiteral("10"), QStringLiteral("How much brightness to add"), brightnessFrame);
    changeBrightnessButton =
        button(QStringLiteral("Change"), QStringLiteral("Apply brightness level"), brightnessFrame);
    defaultBrightnessButton = button(QStringLiteral("Default"),
                                     QStringLiteral("Resets brightness level to default"), brightnessFrame);
    auto* brightnessLayout = new QHBoxLayout(brightnessFrame);
    brightnessLayout->addWidget(new QLabel(QStringLiteral("Brightness:"), brightnessFrame));
    brightnessLayout->addWidget(brightnessEdit);
    brightnessLayout->addWidget(changeBrightnessButton);
    brightnessLayout->addWidget(defaultBrightnessButton);

    auto* browseFrame = new QGroupBox(this);
    saveAsJpgButton =
        button(QStringLiteral("Save as JPG"), QStringLiteral("Save above image as a .JPEG"), browseFrame);
    deleteButton = button(QStringLiteral("Delete"), QStringLiteral("Delete above image."), browseFrame);
    qualityEdit = field(QStringLiteral("100"), QStringLiteral("How much brightness to add"), browseFrame);
    sortByDateCheck = new QCheckBox(QStringLiteral("Sort pictures by file creation date"), browseFrame);
    firstButton = button(QStringLiteral("|<-"), QStringLiteral("Skip to first picture"), browseFrame);
    previousButton =
        button(QStringLiteral("<-"), QStringLiteral("Scroll back to previous image"), browseFrame);
    nextButton = button(QStringLiteral("->"), QStringLiteral("Scroll forward to next image"), browseFrame);
    lastButton = button(QStringLiteral("->|"), QStringLiteral("Skip to last picture"), browseFrame);
    auto* scrollHint = new QLabel(QStringLiteral("Press - or + to scroll through pictures"), browseFrame);
    QFont bold = scrollHint->font();
    bold.setBold(true);
    scrollHint->setFont(bold);
    auto* browseLayout = new QGridLayout(browseFrame);
    browseLayout->addWidget(saveAsJpgButton, 0, 0);
    browseLayout->addWidget(deleteButton, 0, 1);
    browseLayout->addWidget(new QLabel(QStringLiteral("Quality:"), browseFrame), 0, 2);
    browseLayout->addWidget(qualityEdit, 0, 3);
    browseLayout->addWidget(new QLabel(QStringLiteral("%"), browseFrame), 0, 4);
    browseLayout->addWidget(firstButton, 1, 0);
    browseLayout->addWidget(previousButton, 1, 1);
    browseLayout->addWidget(nextButton, 1, 2);
    browseLayout->addWidget(lastButton, 1, 3);
    browseLayout->addWidget(sortByDateCheck, 2, 0, 1, 5);
    browseLayout->addWidget(scrollHint, 3, 0, 1, 5);

    auto* resizeFrame = new QGroupBox(QStringLiteral("Resize (width x height)"), this);
    widthEdit = field(QString(), QStringLiteral("Width in pixels (i.e. 800)"), resizeFrame);
    heightEdit = field(QString(), QStringLiteral("Height in pixels (i.e. 600)"), resizeFrame);
    auto* timesLabel = new QLabel(QStringLiteral("X"), resizeFrame);
    timesLabel->setFont(bold);
    auto* resizeLayout = new QGridLayout(resizeFrame);
    resizeLayout->addWidget(widthEdit, 0, 0);
    resizeLayout->addWidget(timesLabel, 0, 1);
    resizeLayout->addWidget(heightEdit, 0, 2);
    resizeLayout->addWidget(
        new QLabel(QStringLiteral("Your picture will be resized when you save it."), resizeFrame), 1, 0, 1,
        3);

    auto* frames = new QHBoxLayout;
    frames->addWidget(brightnessFrame);
    frames->addWidget(browseFrame);
    frames->addWidget(resizeFrame);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(previewLabel, 0, Qt::AlignHCenter);
    layout->addLayout(frames);

    connect(saveAsJpgButton, &QPushButton::clicked, this, &ScreenshotViewer::onSaveAsJpgClicked);
    connect(nextButton, &QPushButton::clicked, this, &ScreenshotViewer::onNextClicked);
    connect(previousButton, &QPushButton::clicked, this, &ScreenshotViewer::onPreviousClicked);
    connect(changeBrightnessButton, &QPushButton::clicked, this,
            &ScreenshotViewer::onChangeBrightnessClicked);
    connect(defaultBrightnessButton, &QPushButton::clicked, this,
            &ScreenshotViewer::onDefaultBrightnessClicked);
    connect(lastButton, &QPushButton::clicked, this, &ScreenshotViewer::onLastClicked);
    connect(firstButton, &QPushButton::clicked, this, &ScreenshotViewer::onFirstClicked);
    connect(deleteButton, &QPushButton::clicked, this, &ScreenshotViewer::onDeleteClicked);
    connect(sortByDateCheck, &QCheckBox::clicked, this, &ScreenshotViewer::onSortByDateClicked);
    connect(brightnessEdit, &QLineEdit::textChanged, this,
            [this] { checkField(brightnessEdit, QStringLiteral("10")); });
    connect(widthEdit, &QLineEdit::textChanged, this, [this] { checkField(widthEdit, QString()); });
    connect(heightEdit, &QLineEdit::textChanged, this, [this] { checkField(heightEdit, QString()); });
    connect(qualityEdit, &QLineEdit::textChanged, this,
            [this] { checkField(qualityEdit, QStringLiteral("10")); });

    // The window sees key presses before its controls (the "-", "=" and "+" keys).
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

bool ScreenshotViewer::loadFolder() {
    if (!QFileInfo(browser_.screenshotFolder).isDir()) {
        prompter().ask({QStringLiteral("Please specify the correct UT paths to view screenshots."),
                        MsgIcon::Information, QStringLiteral("VYRN")});
        return false;
    }
    browser_.buildPictureList();
    showCurrent();
    return true;
}

void ScreenshotViewer::cleanUp() {
    if (unloaded_) return;
    unloaded_ = true;
    QFile::remove(tempPicturePath());
    QFile::remove(tempJpegPath());
    renderer_.clear();
    rewriteConfig(appConfig(), QString());
}

void ScreenshotViewer::done(int result) {
    cleanUp();
    QDialog::done(result);
}

void ScreenshotViewer::showCurrent() {
    // With no pictures the preview says so, and there is nothing to save or delete.
    const bool any = browser_.pictureCount > 0;
    saveAsJpgButton->setEnabled(any);
    deleteButton->setEnabled(any);
    if (!any) {
        renderer_ = PictureRenderer();
        setWindowTitle(kDesignCaption);
        previewLabel->setText(QStringLiteral("There are no screenshots in ") +
                              QDir::cleanPath(browser_.screenshotFolder) + '.');
        return;
    }
    const QString path = browser_.currentPath();
    if (path.isEmpty()) return;
    renderer_.renderPreview(path);
    refreshPreview();
}

void ScreenshotViewer::refreshPreview() {
    if (!renderer_.caption.isEmpty()) setWindowTitle(renderer_.caption);
    if (renderer_.preview.isNull()) previewLabel->clear();
    else previewLabel->setPixmap(QPixmap::fromImage(renderer_.preview));
}

void ScreenshotViewer::onFirstClicked() {
    if (browser_.first()) showCurrent();
}
void ScreenshotViewer::onPreviousClicked() {
    if (browser_.previous()) showCurrent();
}
void ScreenshotViewer::onNextClicked() {
    if (browser_.next()) showCurrent();
}
void ScreenshotViewer::onLastClicked() {
    if (browser_.last()) showCurrent();
}
void ScreenshotViewer::onDefaultBrightnessClicked() { showCurrent(); }

void ScreenshotViewer::onSortByDateClicked() {
    browser_.sortByDate = sortByDateCheck->isChecked();
    browser_.buildPictureList();
    showCurrent();
}

void ScreenshotViewer::onChangeBrightnessClicked() {
    switch (renderer_.changeBrightness(brightnessEdit->text())) {
        case PictureRenderer::ChangeResult::Changed: refreshPreview(); break;
        case PictureRenderer::ChangeResult::NothingShown: break;
        case PictureRenderer::ChangeResult::TempNotWritten:
            prompter().ask({QStringLiteral("Couldn't write the adjusted picture to ") + tempPicturePath() + '.',
                            MsgIcon::Information, QStringLiteral("VYRN")});
            break;
    }
}

void ScreenshotViewer::onDeleteClicked() {
    const QString path = browser_.currentPath();
    if (path.isEmpty()) return;
    // No is the default: Enter must not delete a picture for good.
    Message question{QStringLiteral("Are you sure you want to delete\r\n") + path + '?', MsgIcon::None,
                     QStringLiteral("Confirm Delete"), MsgButtons::YesNo};
    question.defaultButton = MsgAnswer::No;
    if (prompter().ask(question) != MsgAnswer::Yes) return;
    const auto result = browser_.deleteCurrent();
    if (result == PictureBrowser::DeleteResult::NotDeleted)
        prompter().ask({QStringLiteral("Couldn't delete ") + path + '.', MsgIcon::Critical,
                        QStringLiteral("Confirm Delete")});
    showCurrent();
}

void ScreenshotViewer::onSaveAsJpgClicked() {
    JpegExportRequest request{&renderer_, browser_.currentName(), widthEdit->text(), heightEdit->text(),
                              qualityEdit->text()};
    const JpegExportOutcome outcome = exportPictureAsJpeg(request, runSaveDialog_);
    refreshPreview();
    switch (outcome.result) {
        case JpegExportResult::TooLarge: {
            const QLocale locale(QLocale::English);
            prompter().ask({QStringLiteral("The picture is too large to save at %1 x %2 pixels. VYRN saves "
                                           "pictures of up to %3 pixels and %4 on a side (for example %5 x %6).")
                                .arg(outcome.size.width())
                                .arg(outcome.size.height())
                                .arg(locale.toString(maxBmpPixels()))
                                .arg(locale.toString(kMaxBmpSide))
                                .arg(largestExampleWidth())
                                .arg(maxBmpPixels() / largestExampleWidth()),
                            MsgIcon::Critical, QStringLiteral("Error in JPEG conversion")});
            break;
        }
        case JpegExportResult::EncodeFailed:
            prompter().ask(
                {QStringLiteral("The picture could not be converted to JPEG.") +
                     (outcome.reason.isEmpty() ? QString() : QStringLiteral("\r\n") + outcome.reason),
                 MsgIcon::Critical, QStringLiteral("Error in JPEG conversion")});
            break;
        case JpegExportResult::CopyFailed:
            prompter().ask({QStringLiteral("Couldn't save the picture as ") + outcome.target +
                                QStringLiteral(": ") + outcome.reason + '.',
                            MsgIcon::Critical, QStringLiteral("Error")});
            break;
        case JpegExportResult::NothingShown:
        case JpegExportResult::Cancelled:
        case JpegExportResult::Saved: break;
    }
}

void ScreenshotViewer::checkField(QLineEdit* f, const QString& replacement) {
    if (checkingField_ || numberInText(f->text())) return;
    // A darker picture is typed minus first.
    if (f == brightnessEdit && f->text() == QLatin1String("-")) return;
    checkingField_ = true;
    f->setText(replacement);
    checkingField_ = false;
}

bool ScreenshotViewer::handleKey(const QString& text) {
    if (text == QLatin1String("-")) {
        onPreviousClicked();
        return true;
    }
    if (text == QLatin1String("=") || text == QLatin1String("+")) {
        onNextClicked();
        return true;
    }
    return false;
}

bool ScreenshotViewer::typesLeadingMinus(QObject* watched, const QString& text) const {
    if (watched != brightnessEdit || text != QLatin1String("-")) return false;
    // The minus goes where the number starts: at the caret at the front, or over a
    // selection that starts there.
    const int at = brightnessEdit->hasSelectedText() ? brightnessEdit->selectionStart()
                                                     : brightnessEdit->cursorPosition();
    const QString rest = brightnessEdit->text().mid(at + brightnessEdit->selectedText().size());
    return at == 0 && !rest.startsWith('-');
}

bool ScreenshotViewer::eventFilter(QObject* watched, QEvent* event) {
    // The key is handled once, where it first arrives, and goes no further: the number
    // boxes never see it and it does not travel up through the frames to the window.
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (typesLeadingMinus(watched, text)) return false;
    return handleKey(text);
}

void ScreenshotViewer::keyPressEvent(QKeyEvent* event) {
    if (!handleKey(event->text())) QDialog::keyPressEvent(event);
}
