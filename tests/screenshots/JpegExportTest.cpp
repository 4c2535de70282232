#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include "BmpFixtures.h"
#include "screenshots/JpegSaveDialog.h"
#include "screenshots/JpegExport.h"
#include "screenshots/PictureRenderer.h"
#include "state/AppConfig.h"
#include "support/TestSupport.h"

using namespace fixtures;

namespace {
// The sampling byte (horizontal << 4 | vertical) of each component in the file's baseline
// frame header; none in a progressive file.
QList<int> baselineSampling(const QString& path) {
    QFile f(path);
    const QByteArray jpeg = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    const qsizetype frame = jpeg.indexOf(QByteArray("\xFF\xC0\x00\x11\x08", 5));  // 8 bits, 3 components
    QList<int> sampling;
    for (int c = 0; frame >= 0 && c < 3; ++c) sampling << uchar(jpeg[frame + 11 + 3 * c]);
    return sampling;
}

// Four flat quadrants, so the colour after encoding can be compared away from edges.
QRgb quadrants(int x, int y) {
    if (y < 100) return x < 160 ? qRgb(200, 30, 40) : qRgb(20, 180, 60);
    return x < 160 ? qRgb(30, 60, 220) : qRgb(240, 240, 20);
}
}  // namespace

TEST(JpegExport, SavesTheRealPictureAsBaseline420JpegAtTheTypedSizeAndReturnsFailures) {
    TempProgramFolder program;
    GameInstalls home;  // the first export looks in ~/Pictures
    ASSERT_TRUE(QDir(home.home()).mkdir("Pictures"));
    qunsetenv("XDG_PICTURES_DIR");
    QTemporaryDir target;
    ScriptedPrompter prompts;
    const QString shots = program.file(QStringLiteral("Shots (2004)")) + '/';
    writeFile(shots + "Shot0001.BMP", bmpBytes(320, 200, 24, quadrants));
    appConfig() = AppConfig();
    PictureRenderer renderer;
    ASSERT_TRUE(renderer.renderPreview(shots + "Shot0001.BMP"));
    const QImage preview = renderer.preview;
    EXPECT_FALSE(
        renderer.renderPreview(shots + "gone.bmp"));  // a vanished file changes nothing: the shot is saved
    EXPECT_EQ(renderer.preview, preview);
    QStringList offered;  // the folder and the name the dialog opened with; the first time the program's
    // The export with a dialog answering the folder and name (nothing: cancelled).
    const auto run = [&](std::optional<SaveChoice> answer, const QString& w = {}, const QString& h = {},
                         const QString& quality = "90", PictureRenderer* shown = nullptr) {
        const auto dialog = [&](const QString& proposed) {
            offered = QStringList{appConfig().lastSaveFolder, proposed};
            return answer;
        };
        return exportPictureAsJpeg({shown ? shown : &renderer, "Shot0001.BMP", w, h, quality}, dialog);
    };
    ASSERT_EQ(run(SaveChoice{target.path(), "holiday"}).result, JpegExportResult::Saved);
    EXPECT_EQ(offered, (QStringList{home.home() + "/Pictures/", "shot0001.jpg"}));
    const QImage jpeg(target.filePath("holiday.jpg"));
    EXPECT_EQ(jpeg.size(), QSize(320, 200));  // the picture, not the preview
    EXPECT_EQ(baselineSampling(target.filePath("holiday.jpg")), (QList<int>{0x22, 0x11, 0x11}));
    for (const QPoint p : {QPoint(40, 30), QPoint(250, 40), QPoint(60, 160), QPoint(300, 190)}) {
        const QRgb got = jpeg.pixel(p), want = quadrants(p.x(), p.y());
        const int distance = std::max({std::abs(qRed(got) - qRed(want)), std::abs(qGreen(got) - qGreen(want)),
                                       std::abs(qBlue(got) - qBlue(want))});
        EXPECT_LE(distance, 6) << p.x() << "," << p.y();
    }
    // Only the temporary bitmap stays behind; the preview is back.
    EXPECT_EQ(QDir(program.path()).entryList(QDir::Files), QStringList{"vyrntmppic.bmp"});
    EXPECT_EQ(renderer.preview.size(), QSize(601, 375));  // 320 x 200 at its own proportions
    EXPECT_EQ(appConfig().lastSaveFolder, target.path());
    // A file of that name is replaced only when the user says so; No is the default.
    const QByteArray saved = GameInstalls::read(target.filePath("holiday.jpg"));
    EXPECT_EQ(run(SaveChoice{target.path(), "holiday.jpg"}, {}, {}, "50").result,
              JpegExportResult::Cancelled);
    EXPECT_EQ(GameInstalls::read(target.filePath("holiday.jpg")), saved);
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text,
              target.filePath("holiday.jpg") + " already exists.\r\nDo you want to replace it?");
    EXPECT_EQ(prompts.shown[0].defaultButton, MsgAnswer::No);
    prompts.answers = {MsgAnswer::Yes};
    EXPECT_EQ(run(SaveChoice{target.path(), "holiday"}, {}, {}, "50").result, JpegExportResult::Saved);
    EXPECT_NE(GameInstalls::read(target.filePath("holiday.jpg")), saved);
    prompts.shown.clear();
    // Resized exactly as typed (halves to even, at least 1), one side alone in the picture's
    // proportions; the quality kept within 1 to 100.
    const std::tuple<const char*, const char*, QSize> sizes[] = {
        {"800", "600", {800, 600}}, {"160", "", {160, 100}}, {"", "50", {80, 50}}, {"100.5", "-3", {100, 1}}};
    for (const auto& [w, h, size] : sizes) {
        QFile::remove(target.filePath("sized.jpg"));
        ASSERT_EQ(run(SaveChoice{target.path(), "sized"}, w, h, "500").result, JpegExportResult::Saved);
        EXPECT_EQ(QImage(target.filePath("sized.jpg")).size(), size) << w << " x " << h;
    }
    ASSERT_EQ(run(SaveChoice{target.path(), "low"}, {}, {}, "-7").result, JpegExportResult::Saved);
    EXPECT_LT(QFileInfo(target.filePath("low.jpg")).size(), QFileInfo(target.filePath("holiday.jpg")).size());
    // Cancel, or Save with no name, saves nothing.
    EXPECT_EQ(run(std::nullopt).result, JpegExportResult::Cancelled);
    EXPECT_EQ(run(SaveChoice{target.path(), QString()}).result, JpegExportResult::Cancelled);
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files),
              (QStringList{"holiday.jpg", "low.jpg", "sized.jpg"}));
    // Failures are returned for the window to tell, not shown.
    const JpegExportOutcome copy = run(SaveChoice{target.filePath("no/such/folder"), "x"});
    EXPECT_EQ(copy.result, JpegExportResult::CopyFailed);
    EXPECT_EQ(copy.target, target.filePath("no/such/folder/x.jpg"));
    EXPECT_EQ(copy.reason, "No such file or directory");
    {  // a program folder that takes no new file: the temporary picture is named with the reason
        const FolderTakingNoNewFiles locked(program.path());
        ASSERT_TRUE(locked.active());
        const JpegExportOutcome full = run(SaveChoice{target.path(), "x"});
        EXPECT_EQ(full.result, JpegExportResult::EncodeFailed);
        EXPECT_TRUE(full.reason.startsWith("Could not write " + program.file("vyrntmppic.bmp") + ": "))
            << full.reason.toStdString();
    }
    PictureRenderer broken;
    writeFile(shots + "broken.bmp", QByteArray("BM garbage"));
    broken.renderPreview(shots + "broken.bmp");  // shown by path, but not a picture
    offered.clear();
    EXPECT_EQ(run(SaveChoice{target.path(), "x"}, {}, {}, "90", &broken).result,
              JpegExportResult::EncodeFailed);
    EXPECT_TRUE(offered.isEmpty());  // no dialog
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(program.exists(QStringLiteral("vyrntmppic.jpg")));
}

TEST(JpegNames, ProposedFromTheListAndSavedWithOneJpgAtTheEnd) {
    // Only a final ".jpg" of the name counts; folders and the rest of the name stay.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/p/", "trip", "/p/trip.jpg"},
        {"/p/", "trip.jpg", "/p/trip.jpg"},
        {"/p/", "a.JPG", "/p/a.JPG.jpg"},
        {"/p/", "a.jpg.b", "/p/a.jpg.b.jpg"},
        {"/home/p/my.jpgs/", "shot.jpg", "/home/p/my.jpgs/shot.jpg"}};
    for (const auto& [folder, typed, saved] : cases) EXPECT_EQ(jpegTargetPath(folder, typed), saved) << typed;
    EXPECT_EQ(proposedJpegName("My.bmp.Shot.bmp"), "my.jpg.shot.jpg");
}

TEST(SaveDialog, AnswersTheFolderAndNameAsTypedAndMakesNewFoldersBesideIt) {
    QTemporaryDir root;
    ScriptedPrompter prompts;
    appConfig() = AppConfig();
    GameInstalls home;  // no ~/Pictures
    // $XDG_PICTURES_DIR when it is there, else ~/Pictures (the export's test), else home.
    for (const QString& variable : {root.path(), root.filePath("gone")}) {
        qputenv("XDG_PICTURES_DIR", variable.toUtf8());
        EXPECT_EQ(defaultSaveFolder(), variable == root.path() ? root.path() : home.home());
    }
    qunsetenv("XDG_PICTURES_DIR");
    appConfig().lastSaveFolder = root.filePath("gone");
    EXPECT_EQ(JpegSaveDialog().dirPath(), home.home());  // a folder since removed
    EXPECT_EQ(appConfig().lastSaveFolder, home.home());
    appConfig().lastSaveFolder = root.path();
    JpegSaveDialog f;
    f.nameEdit->setText("holiday");
    f.onSaveClicked();
    ASSERT_TRUE(f.answer());
    EXPECT_EQ(f.answer()->folder, root.path());
    EXPECT_EQ(f.answer()->name, "holiday");
    JpegSaveDialog cancelled;
    cancelled.onCancelClicked();
    EXPECT_FALSE(cancelled.answer());
    // A name with a slash is asked again; a folder that cannot be made is told.
    prompts.inputs = {QString("sub/dir"), QString("Shots"), QString("Shots"), QString()};
    f.onNewFolderClicked();
    EXPECT_TRUE(QDir(root.filePath("Shots")).exists());
    EXPECT_EQ(f.dirPath(), root.path());  // the shown folder stays
    f.onNewFolderClicked();
    f.onNewFolderClicked();  // an empty answer ends it
    EXPECT_EQ(prompts.asked.size(), 4);
    ASSERT_EQ(prompts.shown.size(), 2);
    EXPECT_EQ(prompts.shown[0].text, "Don't include slashes. Just type in the name of the folder to create.");
    EXPECT_EQ(prompts.shown[1].text, "Couldn't create folder. Folder may already exist.");
}
