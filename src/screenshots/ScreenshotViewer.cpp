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
    browser_.ScreenshotFolder = screenshotFolder;
    runSaveDialog_ = [this](const QString& name) { return runSaveDialog(this, name); };
    setWindowTitle(kDesignCaption);
    buildControls();
    centreOnScreen(this);
}

ScreenshotViewer::~ScreenshotViewer() = default;

void ScreenshotViewer::buildControls() {
    Image1 = new QLabel(this);
    Image1->setFixedSize(PictureRenderer::kPreviewWidth, PictureRenderer::kPreviewHeight);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setTextFormat(Qt::PlainText);
    Image1->setWordWrap(true);
    Image1->setToolTip(QStringLiteral("Pictures may be larger than they appear in the preview window."));

    auto* Frame3 = new QGroupBox(this);
    Text1 = field(QStringLiteral("10"), QStringLiteral("How much brightness to add"), Frame3);
    Command4 = button(QStringLiteral("Change"), QStringLiteral("Apply brightness level"), Frame3);
    Command5 = button(QStringLiteral("Default"), QStringLiteral("Resets brightness level to default"), Frame3);
    auto* l3 = new QHBoxLayout(Frame3);
    l3->addWidget(new QLabel(QStringLiteral("Brightness:"), Frame3));
    l3->addWidget(Text1);
    l3->addWidget(Command4);
    l3->addWidget(Command5);

    auto* Frame2 = new QGroupBox(this);
    Command1 = button(QStringLiteral("Save as JPG"), QStringLiteral("Save above image as a .JPEG"), Frame2);
    Command9 = button(QStringLiteral("Delete"), QStringLiteral("Delete above image."), Frame2);
    Text4 = field(QStringLiteral("100"), QStringLiteral("How much brightness to add"), Frame2);
    Check1 = new QCheckBox(QStringLiteral("Sort pictures by file creation date"), Frame2);
    Command8 = button(QStringLiteral("|<-"), QStringLiteral("Skip to first picture"), Frame2);
    Command3 = button(QStringLiteral("<-"), QStringLiteral("Scroll back to previous image"), Frame2);
    Command2 = button(QStringLiteral("->"), QStringLiteral("Scroll forward to next image"), Frame2);
    Command7 = button(QStringLiteral("->|"), QStringLiteral("Skip to last picture"), Frame2);
    auto* Label2 = new QLabel(QStringLiteral("Press - or + to scroll through pictures"), Frame2);
    QFont bold = Label2->font();
    bold.setBold(true);
    Label2->setFont(bold);
    auto* l2 = new QGridLayout(Frame2);
    l2->addWidget(Command1, 0, 0);
    l2->addWidget(Command9, 0, 1);
    l2->addWidget(new QLabel(QStringLiteral("Quality:"), Frame2), 0, 2);
    l2->addWidget(Text4, 0, 3);
    l2->addWidget(new QLabel(QStringLiteral("%"), Frame2), 0, 4);
    l2->addWidget(Command8, 1, 0);
    l2->addWidget(Command3, 1, 1);
    l2->addWidget(Command2, 1, 2);
    l2->addWidget(Command7, 1, 3);
    l2->addWidget(Check1, 2, 0, 1, 5);
    l2->addWidget(Label2, 3, 0, 1, 5);

    auto* Frame1 = new QGroupBox(QStringLiteral("Resize (width x height)"), this);
    Text2 = field(QString(), QStringLiteral("Width in pixels (i.e. 800)"), Frame1);
    Text3 = field(QString(), QStringLiteral("Height in pixels (i.e. 600)"), Frame1);
    auto* Label4 = new QLabel(QStringLiteral("X"), Frame1);
    Label4->setFont(bold);
    auto* l1 = new QGridLayout(Frame1);
    l1->addWidget(Text2, 0, 0);
    l1->addWidget(Label4, 0, 1);
    l1->addWidget(Text3, 0, 2);
    l1->addWidget(new QLabel(QStringLiteral("Your picture will be resized when you save it."), Frame1), 1, 0, 1, 3);

    auto* frames = new QHBoxLayout;
    frames->addWidget(Frame3);
    frames->addWidget(Frame2);
    frames->addWidget(Frame1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Image1, 0, Qt::AlignHCenter);
    layout->addLayout(frames);

    connect(Command1, &QPushButton::clicked, this, &ScreenshotViewer::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ScreenshotViewer::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &ScreenshotViewer::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &ScreenshotViewer::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &ScreenshotViewer::Command5_Click);
    connect(Command7, &QPushButton::clicked, this, &ScreenshotViewer::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &ScreenshotViewer::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &ScreenshotViewer::Command9_Click);
    connect(Check1, &QCheckBox::clicked, this, &ScreenshotViewer::Check1_Click);
    connect(Text1, &QLineEdit::textChanged, this, [this] { checkField(Text1, QStringLiteral("10")); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { checkField(Text2, QString()); });
    connect(Text3, &QLineEdit::textChanged, this, [this] { checkField(Text3, QString()); });
    connect(Text4, &QLineEdit::textChanged, this, [this] { checkField(Text4, QStringLiteral("10")); });

    // The window sees key presses before its controls (the "-", "=" and "+" keys).
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

bool ScreenshotViewer::Form_Load() {
    if (!QFileInfo(browser_.ScreenshotFolder).isDir()) {
        prompter().ask({QStringLiteral("Please specify the correct UT paths to view screenshots."),
                        MsgIcon::Information, QStringLiteral("VYRN")});
        return false;
    }
    browser_.BuildPictureList();
    showCurrent();
    return true;
}

void ScreenshotViewer::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    QFile::remove(tempPicturePath());
    QFile::remove(tempJpegPath());
    renderer_.clear();
    RewriteConfig(appConfig(), QString());
}

void ScreenshotViewer::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void ScreenshotViewer::showCurrent() {
    // With no pictures the preview says so, and there is nothing to save or delete.
    const bool any = browser_.PictureCount > 0;
    Command1->setEnabled(any);
    Command9->setEnabled(any);
    if (!any) {
        renderer_ = PictureRenderer();
        setWindowTitle(kDesignCaption);
        Image1->setText(QStringLiteral("There are no screenshots in ") +
                        QDir::cleanPath(browser_.ScreenshotFolder) + '.');
        return;
    }
    const QString path = browser_.currentPath();
    if (path.isEmpty()) return;
    renderer_.LoadPic2(path);
    refreshPreview();
}

void ScreenshotViewer::refreshPreview() {
    if (!renderer_.caption.isEmpty()) setWindowTitle(renderer_.caption);
    if (renderer_.preview.isNull()) Image1->clear();
    else Image1->setPixmap(QPixmap::fromImage(renderer_.preview));
}

void ScreenshotViewer::Command8_Click() {
    if (browser_.first()) showCurrent();
}
void ScreenshotViewer::Command3_Click() {
    if (browser_.previous()) showCurrent();
}
void ScreenshotViewer::Command2_Click() {
    if (browser_.next()) showCurrent();
}
void ScreenshotViewer::Command7_Click() {
    if (browser_.last()) showCurrent();
}
void ScreenshotViewer::Command5_Click() { showCurrent(); }

void ScreenshotViewer::Check1_Click() {
    browser_.sortByDate = Check1->isChecked();
    browser_.BuildPictureList();
    showCurrent();
}

void ScreenshotViewer::Command4_Click() {
    switch (renderer_.Change(Text1->text())) {
        case PictureRenderer::ChangeResult::Changed: refreshPreview(); break;
        case PictureRenderer::ChangeResult::NothingShown: break;
        case PictureRenderer::ChangeResult::TempNotWritten:
            prompter().ask({QStringLiteral("Couldn't write the adjusted picture to ") + tempPicturePath() + '.',
                            MsgIcon::Information, QStringLiteral("VYRN")});
            break;
    }
}

void ScreenshotViewer::Command9_Click() {
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

void ScreenshotViewer::Command1_Click() {
    JpegExportRequest request{&renderer_, browser_.currentName(), Text2->text(), Text3->text(), Text4->text()};
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
    if (f == Text1 && f->text() == QLatin1String("-")) return;
    checkingField_ = true;
    f->setText(replacement);
    checkingField_ = false;
}

bool ScreenshotViewer::handleKey(const QString& text) {
    if (text == QLatin1String("-")) {
        Command3_Click();
        return true;
    }
    if (text == QLatin1String("=") || text == QLatin1String("+")) {
        Command2_Click();
        return true;
    }
    return false;
}

bool ScreenshotViewer::typesLeadingMinus(QObject* watched, const QString& text) const {
    if (watched != Text1 || text != QLatin1String("-")) return false;
    // The minus goes where the number starts: at the caret at the front, or over a
    // selection that starts there.
    const int at = Text1->hasSelectedText() ? Text1->selectionStart() : Text1->cursorPosition();
    const QString rest = Text1->text().mid(at + Text1->selectedText().size());
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
