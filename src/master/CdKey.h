#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "state/AppConfig.h"
#include "state/Games.h"

// The player's CD key of UT2003 or UT2004 (XXXXX-XXXXX-XXXXX-XXXXX). It never leaves
// the machine and is never shown: this type has no way to turn it back into text, only
// the two hashes a master asks for and the write to the file that remembers it.
class CdKey {
public:
    // The key in text as the games keep it (blanks and line ends around it allowed, any
    // letter case); nothing for anything else.
    static std::optional<CdKey> parse(QByteArrayView text);

    // The hex MD5 of the key, and of the key followed by the master's challenge.
    QByteArray keyHash() const;
    QByteArray challengeHash(QByteArrayView challenge) const;
    bool operator==(const CdKey&) const = default;

private:
    explicit CdKey(QByteArray key) : key_(std::move(key)) {}
    friend QString rememberCdKey(Game game, const CdKey& key);
    QByteArray key_;
};

// Where the key was looked for, and the key when one was found.
struct CdKeySearch {
    std::optional<CdKey> key;
    QStringList looked;  // the places, for the message when none was found
};

// The player's own key of a game: in the Wine registry of the game's prefix (the
// configured executable's, then $WINEPREFIX or ~/.wine: "Installed Apps\<game>", value
// "CDKey", also under Wow6432Node), else in the "cdkey" file of a native port's "System"
// folder (the configured one, the usual install folders, the player's folder), else the
// one remembered in VYRN's folder.
CdKeySearch findCdKey(Game game, const AppConfig& config);

// The file in VYRN's folder that remembers a key the player typed: "cdkey-ut2004".
QString rememberedCdKeyFile(Game game);
// Writes it, readable by the user only. Empty when written, else the system's reason.
QString rememberCdKey(Game game, const CdKey& key);

// A key from a file holding it as the games keep it (`vyrn --master --cdkey FILE`).
std::optional<CdKey> readCdKeyFile(const QString& path);
