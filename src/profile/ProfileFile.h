#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "state/Games.h"

// Player options in each game's profile ("User.ini"). Every edit works on the lines of
// one key (any letter case) and changes only the value after its "="; every other byte
// of the file, line ends and the spelling of keys and sections included, stays as it was.
// A line in these lists holds its own line end.

// What an edit did to the profile file; the dialog decides what the user is told.
enum class ProfileEdit {
    Written,          // the file was rewritten
    Unchanged,        // nothing to change; the file was left alone
    Skipped,          // nothing asked for (empty name)
    Missing,          // no profile file (no path configured, or the file is gone)
    ReadFailed,       // the file exists but could not be read
    WriteFailed,      // the rewrite failed; the old file is whole
    NameNotWritable,  // the name has letters the games' code page lacks; nothing written
    NameHasControls   // the name holds a line break or another control character
};

// What an edit did, and the system's words when the file could not be read or written.
struct ProfileResult {
    ProfileEdit edit = ProfileEdit::Written;
    QString reason;
    bool operator==(ProfileEdit e) const { return edit == e; }
};

// The file's lines, each with its own end (CR LF, LF or a lone CR; none for a last
// line without one); joined back they give the same bytes.
QList<QByteArray> splitProfileLines(const QByteArray& bytes);

// The profile the game reads, found from its configured executable; nothing when there
// is none.
std::optional<QString> profileFilePath(Game game);

// The edits on lines, without any file.
void applyTauntLevel(QList<QByteArray>& lines, int level);
void applyTeam(QList<QByteArray>& lines, int teamIndex);
void applyUtTeam(QList<QByteArray>& lines, int teamIndex, bool spectating);
// Spectating sets the team to 255; leaving it sets the team given.
void applySpectator(QList<QByteArray>& lines, bool on, int teamWhenOff = 0);
bool holdsSpectatorClass(const QList<QByteArray>& lines);
// The value of the first "Team" key, when it is a number.
std::optional<int> teamOf(const QList<QByteArray>& lines);
void applyPlayerName(QList<QByteArray>& lines, const QByteArray& name);

// A player name as the games store it (Windows-1252); nothing when it holds a letter
// the code page lacks or a control character (a line break would make a line of its own).
std::optional<QByteArray> encodePlayerName(const QString& name);

// The operations on the configured game's file.
bool readSpectator();
std::optional<int> readUtTeam();
ProfileResult setTauntLevel(Game game, int level);
ProfileResult setTeam(Game game, int teamIndex);
ProfileResult setUtTeam(int teamIndex, bool spectating);
ProfileResult setSpectator(bool on, int teamWhenOff = 0);
ProfileResult setPlayerName(Game game, const QString& name);
