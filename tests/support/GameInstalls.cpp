#include "support/GameInstalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
// The folder each Windows installer proposes on drive C.
QString windowsFolderOf(Game game) {
    switch (game) {
        case Game::UT: return QStringLiteral("UnrealTournament");
        case Game::UT2003: return QStringLiteral("UT2003");
        case Game::UT2004: break;
    }
    return QStringLiteral("UT2004");
}

void makeExecutable(const QString& path, const QByteArray& contents) {
    GameInstalls::write(path, contents);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString screenshotsBeside(Game game, const QString& gameFolder) {
    return QDir::cleanPath(QDir(gameFolder).filePath(gameInfo(game).screenshotFolder));
}
}  // namespace

const QByteArray GameInstalls::kProfile =
    "[Engine.Input]\r\nF9=Shot\r\n\r\n"
    "[DefaultPlayer]\r\nClass=Botpack.TMale1\r\nName=Player\r\nteam=1\r\nSkin=SoldierSkins.blkt\r\n\r\n"
    "[Botpack.ChallengeHUD]\r\nOverrideClass=\r\n\r\n"
    "[Engine.PlayerPawn]\r\nbAutoTaunt=True\r\nbNoAutoTaunts=False\r\nbNoVoiceTaunts=False\r\n"
    "bNoVoiceMessages=False\r\nTeam=0\r\n";

QByteArray GameInstalls::iniText(Game game, const QByteArray& address) {
    switch (game) {
        case Game::UT:
            return "[Engine.Engine]\r\nGameRenderDevice=OpenGLDrv.OpenGLRenderDevice\r\n\r\n"
                   "[UBrowser.UBrowserFavoritesFact]\r\nFavoriteCount=2\r\n"
                   "Favorites[0]=Home\\" + address + ":7777\\7778\\True\r\n"
                   "Favorites[1]=Other\\" + address + ":7787\\7788\\False\r\n\r\n";
        case Game::UT2003:
            return "[Engine.Engine]\r\nRenderDevice=OpenGLDrv.OpenGLRenderDevice\r\n\r\n"
                   "[XInterface.Browser_ServerListPageFavorites]\r\n"
                   "Favorites=(IP=\"" + address + "\",Port=7777,QueryPort=7778,ServerName=\"Home\")\r\n"
                   "Favorites=(IP=\"" + address + "\",Port=7787,QueryPort=7788,ServerName=\"Other\")\r\n\r\n";
        case Game::UT2004: break;
    }
    return "[XInterface.ExtendedConsole]\r\nConsoleKey=192\r\n"
           "Favorites=(ServerID=0,IP=\"" + address + "\",Port=7777,QueryPort=7778,ServerName=\"Home\")\r\n"
           "Favorites=(ServerID=1,IP=\"" + address + "\",Port=7787,QueryPort=7788,ServerName=\"Other\")\r\n\r\n"
           "[Engine.Engine]\r\nRenderDevice=OpenGLDrv.OpenGLRenderDevice\r\n";
}

GameInstalls::GameInstalls() {
    oldHome_ = qgetenv("HOME");
    oldPath_ = qgetenv("PATH");
    hadPrefix_ = qEnvironmentVariableIsSet("WINEPREFIX");
    oldPrefix_ = qgetenv("WINEPREFIX");
    qputenv("HOME", home().toUtf8());
    qunsetenv("WINEPREFIX");
}

GameInstalls::~GameInstalls() {
    qputenv("HOME", oldHome_);
    qputenv("PATH", oldPath_);
    if (hadPrefix_) qputenv("WINEPREFIX", oldPrefix_);
    else qunsetenv("WINEPREFIX");
}

InstalledGame GameInstalls::wine(Game game, const QString& prefix) {
    const GameInfo& info = gameInfo(game);
    InstalledGame g{game, {}, {}, {}, {}, QDir(home()).filePath(prefix)};
    const QString install = g.prefix + "/drive_c/" + windowsFolderOf(game);
    const QString system = install + "/System";
    g.executable = system + "/" + info.windowsExecutable;
    makeExecutable(g.executable, "MZ");
    g.ini = system + "/" + info.iniFile;
    write(g.ini, iniText(game, "127.0.0.1"));
    g.profile = system + "/User.ini";
    write(g.profile, kProfile);
    g.screenshots = screenshotsBeside(game, system);
    QDir().mkpath(g.screenshots);

    QByteArray key = info.registryKey.toUtf8().replace("\\", "\\\\");
    registry_[g.prefix] += "[" + key + "] 1700000000\n#time=1d9a2b3c4d5e6f7\n\"Folder\"=\"C:\\\\" +
                           windowsFolderOf(game).toUtf8() + "\"\n\"Version\"=\"1\"\n\n";
    write(g.prefix + "/system.reg", "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                                    "#arch=win32\n\n" + registry_[g.prefix]);
    QDir().mkpath(g.prefix + "/dosdevices");
    QFile::link("../drive_c", g.prefix + "/dosdevices/c:");
    return g;
}

InstalledGame GameInstalls::native(Game game, const QString& installFolder, QString executable,
                                   QString preferences) {
    const GameInfo& info = gameInfo(game);
    if (executable.isEmpty()) executable = info.nativeExecutables.first();
    if (preferences == QLatin1String("*")) preferences = info.preferenceFolders.first();
    const QString install = installFolder.startsWith("~/") ? QDir(home()).filePath(installFolder.mid(2))
                                                           : root() + installFolder;
    InstalledGame g{game, QDir(install).filePath(executable), {}, {}, {}, {}};
    makeExecutable(g.executable, "\x7f" "ELF");
    const QString folder = QFileInfo(g.executable).path();
    // The shipped files beside the executable.
    g.ini = folder + "/" + info.iniFile;
    write(g.ini, iniText(game, "127.0.0.2"));
    g.profile = folder + "/User.ini";
    write(g.profile, kProfile);
    g.screenshots = screenshotsBeside(game, folder);
    if (preferences.isEmpty()) {
        QDir().mkpath(g.screenshots);
        return g;
    }
    // The player's copies, made by the game's first run.
    const QString player = QDir(home()).filePath(preferences);
    g.ini = player + "/" + info.iniFile;
    write(g.ini, iniText(game, "127.0.0.3"));
    g.profile = player + "/User.ini";
    write(g.profile, kProfile);
    g.screenshots = screenshotsBeside(game, player);
    QDir().mkpath(g.screenshots);
    return g;
}

void GameInstalls::setWineInstalled(bool installed) {
    const QString bin = QDir(home()).filePath("bin");
    QDir().mkpath(bin);
    if (installed) makeExecutable(bin + "/wine", "#!/bin/sh\nexit 0\n");
    else QFile::remove(bin + "/wine");
    qputenv("PATH", bin.toUtf8());
}

void GameInstalls::write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

QByteArray GameInstalls::read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

namespace {
bool setImmutable(const QString& folder, bool on) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return ok;
}
}  // namespace

FolderTakingNoNewFiles::FolderTakingNoNewFiles(const QString& folder) : folder_(folder) {
    if (::geteuid() == 0) {
        active_ = setImmutable(folder_, true);
        return;
    }
    active_ = QFile::setPermissions(folder_, QFile::ReadOwner | QFile::ExeOwner);
}

FolderTakingNoNewFiles::~FolderTakingNoNewFiles() {
    if (!active_) return;
    if (::geteuid() == 0) setImmutable(folder_, false);
    else QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
