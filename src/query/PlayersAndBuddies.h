#pragma once
#include <QString>
#include <QStringList>
#include <optional>

#include "state/MainState.h"

// Rules shared by both decoders for the players, and the actions of the players grid
// and the information panel.

// Writes the host name beside the first buddy entry that matches the player; an entry
// holding "**" matches any name containing the rest of it, ignoring case.
void buddyMatch(MainState& s, const QString& playerName, const QString& hostName);
// The line of the desktop notification for a buddy first seen on a server.
inline QString buddyAlertText(const QString& player, const QString& server) {
    return player + QStringLiteral(" is playing on ") + server;
}
// Whether one buddy entry matches a player name.
bool buddyEntryMatches(const QString& entry, const QString& playerName);
// The entries of the buddy grid, in its order.
QStringList buddyEntries(const FlexGrid& buddyGrid);

// The picture for a team text ("0" red, "1" blue, "2" green, "3" gold, "255" Spec);
// 0 (no picture) for any other text.
int teamPictureIndex(const QString& team);
// Puts the team's picture into the "Team" cell of the last players row.
void placeTeamPicture(MainState& s, const QString& team);

// The text "Copy" puts on the clipboard: the panel captions and one line per player.
QString serverInfoCopyText(const MainState& s);
// The address between the last "(" and the end of the admin box, without the bracket
// and the last character, trimmed; empty when there is none.
QString adminMailAddress(const QString& adminBox);
// The "mailto:" link for "Email Admin": the address alone, cut at any "?", and only
// when it is made of the characters an e-mail address may hold around one "@".
std::optional<QString> adminMailUrl(const QString& adminBox);

// What a click on the players grid did.
struct FlexClickResult {
    enum class What { Nothing, Sorted, BuddyAdded, BuddyNotSaved };
    What what = What::Nothing;
    QString name;  // the player clicked
};
// A click on the players grid: a header sorts, a player becomes a buddy.
FlexClickResult clickPlayerGrid(MainState& s);
// The message for a buddy that could not be saved.
QString buddyNotSavedText(const QString& name);
