#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

#include "state/Games.h"

// Player options in each game's profile ("User.ini"). Every edit works on whole lines
// found by a text they contain (any letter case); the other lines are written back as
// they were, every line ended by CR LF as the games write them.

// What an edit did to the profile file; the dialog decides what the user is told.
enum class ProfileEdit {
    Written,         // the file was rewritten
    Unchanged,       // nothing to change; the file was left alone
    Skipped,         // nothing asked for (empty name)
    Missing,         // no profile file (no path configured, or the file is gone)
    ReadFailed,      // the file exists but could not be read
    WriteFailed,     // the rewrite failed; the old file is whole
    NameNotWritable  // the name has letters the games' code page lacks; nothing written
};

// The profile the game reads, found from its configured executable; nothing when there
// is none.
std::optional<QString> profileFilePath(Game game);

// The edits on lines, without any file.
void applyTauntLevel(QList<QByteArray>& lines, int level);
void applyTeam(QList<QByteArray>& lines, int teamIndex);
void applyUtTeam(QList<QByteArray>& lines, int teamIndex, bool spectating);
void applySpectator(QList<QByteArray>& lines, bool on);
bool holdsSpectatorClass(const QList<QByteArray>& lines);
void applyPlayerName(QList<QByteArray>& lines, const QByteArray& name);

// A player name as the games store it (Windows-1252), without control characters;
// nothing when it holds a letter the code page lacks.
std::optional<QByteArray> encodePlayerName(const QString& name);

// The operations on the configured game's file.
bool ReadSpectator();
ProfileEdit SetTauntLevel(Game game, int level);
ProfileEdit SetTeam(Game game, int teamIndex);
ProfileEdit SetUtTeam(int teamIndex, bool spectating);
ProfileEdit SetSpectator(bool on);
ProfileEdit SetPlayerName(Game game, const QString& name);
