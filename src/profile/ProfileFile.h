#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "platform/Prompter.h"

// Player options in each game's "user.ini". Every edit works on whole lines found by a
// text they contain (any letter case); lines that are not replaced are written back byte
// for byte with their own line ends, and keys that are missing are never added.

enum class ProfileGame { UT, UT2003, UT2004 };

// What an edit did to the profile file.
enum class ProfileEdit {
    Written,    // the file was rewritten
    Unchanged,  // nothing to change; the file was left alone
    Skipped,    // nothing asked for (empty name)
    Missing,    // no profile file (no path configured, or the file is gone)
    ReadFailed, // the file exists but could not be read
    WriteFailed // the rewrite failed; the old file is whole
};

// One line of a profile file: its text and the bytes that ended it ("" on a last line
// without an end).
struct ProfileLine {
    QByteArray text;
    QByteArray end;
};

// Same line boundaries as splitLines(), keeping each line's end.
QList<ProfileLine> splitProfileLines(const QByteArray& bytes);
// Every line followed by its own end; a last line without an end gets CR LF.
QByteArray joinProfileLines(const QList<ProfileLine>& lines);

// The executable path with every occurrence of the executable's file name removed, in
// any letter case; the folder keeps its trailing separator.
QString profileGameFolderOf(const QString& executablePath, const QString& executableName);
// "user.ini" of the game's configured folder; empty when no path is configured.
QString profileFilePath(ProfileGame game);
bool profileFileExists(ProfileGame game);

// The edits on lines, without any file.
void applyTauntLevel(QList<ProfileLine>& lines, int level);
void applyTeam(QList<ProfileLine>& lines, int teamIndex);
void applyUtTeam(QList<ProfileLine>& lines, int teamIndex, bool spectating);
void applySpectator(QList<ProfileLine>& lines, bool on);
bool holdsSpectatorClass(const QList<ProfileLine>& lines);
void applyPlayerName(QList<ProfileLine>& lines, const QByteArray& name);

// The operations on the configured game's file.
bool ReadSpectator();
ProfileEdit SetTauntLevel(ProfileGame game, int level);
ProfileEdit SetTeam(ProfileGame game, int teamIndex);
ProfileEdit SetUtTeam(int teamIndex, bool spectating);
ProfileEdit SetSpectator(bool on);
ProfileEdit SetPlayerName(ProfileGame game, const QString& name);

// The message the user must see after an edit, if any.
std::optional<Message> profileEditMessage(ProfileEdit result, const QString& path);
