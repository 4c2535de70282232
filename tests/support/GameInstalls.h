#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#include "state/Games.h"

// One game on disk as a player has it.
struct InstalledGame {
    Game game;
    QString executable;   // what the settings hold
    QString ini;          // the settings and favourites file the game reads
    QString profile;      // the "User.ini" the game reads
    QString screenshots;  // the folder the game writes its screenshots into
    QString prefix;       // the Wine prefix of a Windows install; empty for a native port
};

// A temporary home folder (HOME points at it while this lives, WINEPREFIX is unset) and
// a temporary folder standing for "/", in which the games are laid out exactly as their
// installers and native ports leave them, in their real letter case.
class GameInstalls {
public:
    GameInstalls();
    ~GameInstalls();
    GameInstalls(const GameInstalls&) = delete;
    GameInstalls& operator=(const GameInstalls&) = delete;

    QString home() const { return home_.path(); }
    QString root() const { return root_.path(); }

    // A Windows install in a Wine prefix (relative to home): "system.reg" with the
    // installer's key, "drive_c/<folder>/System/<Game>.exe", the game's ini, "User.ini"
    // and the screenshot folder.
    InstalledGame wine(Game game, const QString& prefix = QStringLiteral(".wine"));

    // A native port: the install folder ("~/..." in home, else under root()) holding the
    // executable (relative to the install; the table's first by default) with the shipped
    // ini and "User.ini" beside it, and, unless preferences is empty, the player's
    // preference folder (relative to home) holding the player's copies.
    InstalledGame native(Game game, const QString& installFolder, QString executable = QString(),
                         QString preferences = QStringLiteral("*"));

    // PATH holds only a folder of home, with or without a "wine" program in it.
    void setWineInstalled(bool installed);

    static void write(const QString& path, const QByteArray& bytes);  // makes the folders
    static QByteArray read(const QString& path);

    // What the fixture writes: an ini with two favourites of the game and a profile whose
    // "[DefaultPlayer]" holds "Name=Player" below another key.
    static QByteArray iniText(Game game, const QByteArray& address);
    static const QByteArray kProfile;

private:
    QTemporaryDir home_;
    QTemporaryDir root_;
    QMap<QString, QByteArray> registry_;  // prefix -> keys written to its system.reg
    QByteArray oldHome_, oldPath_, oldPrefix_;
    bool hadPrefix_ = false;
};

// A folder in which no new file can be made while this lives, though its files stay
// writable: a shared install. Root ignores folder permissions, so for root the folder
// is made immutable instead.
class FolderTakingNoNewFiles {
public:
    explicit FolderTakingNoNewFiles(const QString& folder);
    ~FolderTakingNoNewFiles();
    bool active() const { return active_; }

private:
    QString folder_;
    bool active_ = false;
};
