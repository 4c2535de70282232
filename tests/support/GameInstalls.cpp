#include "support/GameInstalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
// The games as their installers and ports lay them out, written out here by hand (never
// taken from VYRN's own table, so a slip in that table shows).
struct RealLayout {
    const char* windowsFolder;  // on drive C
    const char* exe;            // in System
    const char* ini;            // settings and favourites
    const char* screenshots;    // of a Windows install, relative to its folder
    const char* registryKey;    // as system.reg escapes it
    const char* nativeExecutable;
    const char* preferences;  // the native port's, relative to home
};
const RealLayout kReal[] = {
    {"UnrealTournament", "UnrealTournament.exe", "UnrealTournament.ini", "System",
     "Software\\\\Unreal Technology\\\\Installed Apps\\\\UnrealTournament", "System64/ut-bin-amd64",
     ".utpg/System"},
    {"UT2003", "UT2003.exe", "UT2003.ini", "System",
     "Software\\\\Unreal Technology\\\\Installed Apps\\\\UT2003", "System/ut2003-bin", ".ut2003/System"},
    {"UT2004", "UT2004.exe", "UT2004.ini", "ScreenShots",
     "Software\\\\Unreal Technology\\\\Installed Apps\\\\UT2004", "System/ut2004-bin-linux-amd64",
     ".ut2004/System"},
};

void makeExecutable(const QString& path, const QByteArray& contents) {
    GameInstalls::write(path, contents);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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
    const RealLayout& real = kReal[int(game)];
    InstalledGame g{game, {}, {}, {}, {}, QDir(home()).filePath(prefix)};
    const QString install = g.prefix + "/drive_c/" + real.windowsFolder;
    const QString system = install + "/System";
    g.executable = system + "/" + real.exe;
    makeExecutable(g.executable, "MZ");
    g.ini = system + "/" + real.ini;
    write(g.ini, iniText(game, "127.0.0.1"));
    g.profile = system + "/User.ini";
    write(g.profile, kProfile);
    g.screenshots = install + "/" + real.screenshots;
    QDir().mkpath(g.screenshots);

    registry_[g.prefix] += QByteArray("[") + real.registryKey +
                           "] 1700000000\n#time=1d9a2b3c4d5e6f7\n"
                           "\"Folder\"=\"C:\\\\" +
                           real.windowsFolder + "\"\n\"Version\"=\"1\"\n\n";
    write(g.prefix + "/system.reg", "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n"
                                    "#arch=win32\n\n" + registry_[g.prefix]);
    QDir().mkpath(g.prefix + "/dosdevices");
    QFile::link("../drive_c", g.prefix + "/dosdevices/c:");
    return g;
}

InstalledGame GameInstalls::native(Game game, const QString& installFolder, QString executable,
                                   QString preferences) {
    const RealLayout& real = kReal[int(game)];
    if (executable.isEmpty()) executable = real.nativeExecutable;
    if (preferences == QLatin1String("*")) preferences = real.preferences;
    const QString install = installFolder.startsWith("~/") ? QDir(home()).filePath(installFolder.mid(2))
                                                           : root() + installFolder;
    InstalledGame g{game, QDir(install).filePath(executable), {}, {}, {}, {}};
    makeExecutable(g.executable, "\x7f" "ELF");
    const QString folder = QFileInfo(g.executable).path();
    // The shipped files beside the executable.
    g.ini = folder + "/" + real.ini;
    write(g.ini, iniText(game, "127.0.0.2"));
    g.profile = folder + "/User.ini";
    write(g.profile, kProfile);
    g.screenshots = game == Game::UT2004 ? install + "/ScreenShots" : folder;
    if (preferences.isEmpty()) {
        QDir().mkpath(g.screenshots);
        return g;
    }
    // The player's copies, made by the game's first run.
    const QString player = QDir(home()).filePath(preferences);
    g.ini = player + "/" + real.ini;
    write(g.ini, iniText(game, "127.0.0.3"));
    g.profile = player + "/User.ini";
    write(g.profile, kProfile);
    g.screenshots = game == Game::UT2004 ? QDir::cleanPath(player + "/../ScreenShots") : player;
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
