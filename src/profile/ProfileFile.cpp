#include "profile/ProfileFile.h"

#include <QFile>
#include <QFileInfo>

#include "platform/FileIO.h"
#include "platform/Text1252.h"
#include "state/GameFiles.h"

namespace {

bool containsText(const QByteArray& line, const QByteArray& text) {
    // The keys are ASCII; toLower() folds ASCII only, so high bytes are compared as they are.
    return line.toLower().contains(text.toLower());
}

// A "Name=" line is one whose key, before the first "=", is Name in any letter case.
bool isNameLine(const QByteArray& line) {
    const qsizetype eq = line.indexOf('=');
    return eq >= 0 && line.left(eq).trimmed().toLower() == "name";
}

bool isSectionHeader(const QByteArray& line) { return line.trimmed().startsWith('['); }

// A shared install may let the player write the profile but not create files beside it;
// then the file is rewritten where it stands, and put back as it was if that fails.
bool writeInPlace(const QString& path, const QByteArray& bytes, const QByteArray& oldBytes) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return false;
    if (file.write(bytes) == bytes.size() && file.resize(bytes.size())) return true;
    file.seek(0);
    file.write(oldBytes);
    file.resize(oldBytes.size());
    return false;
}

bool writeProfileBytes(const QString& path, const QByteArray& bytes, const QByteArray& oldBytes) {
    if (writeFileAtomically(path, bytes)) return true;
    // A folder that takes new files failed for another reason (a full disk): the old
    // file stays whole rather than being half overwritten.
    if (canCreateFilesIn(QFileInfo(path).absolutePath())) return false;
    return writeInPlace(path, bytes, oldBytes);
}

struct LoadedProfile {
    ProfileEdit failure = ProfileEdit::Written;  // Written means loaded
    QString path;
    QByteArray bytes;
    QList<QByteArray> lines;
};

LoadedProfile loadProfile(Game game) {
    LoadedProfile p;
    const std::optional<QString> path = profileFilePath(game);
    if (!path) {
        p.failure = ProfileEdit::Missing;
        return p;
    }
    p.path = *path;
    const std::optional<QByteArray> bytes = readWholeFile(p.path);
    if (!bytes) {
        p.failure = ProfileEdit::ReadFailed;
        return p;
    }
    p.bytes = *bytes;
    p.lines = splitLines(p.bytes);
    return p;
}

// A file whose bytes would not change is not touched, so an empty file stays as it is.
ProfileEdit storeProfile(const LoadedProfile& p) {
    const QByteArray out = joinLinesCrLf(p.lines);
    if (out == p.bytes) return ProfileEdit::Unchanged;
    // The file may have gone while we edited; the rename must not bring it back half-known.
    if (!fileExists(p.path)) return ProfileEdit::Missing;
    return writeProfileBytes(p.path, out, p.bytes) ? ProfileEdit::Written : ProfileEdit::WriteFailed;
}

template <typename Edit>
ProfileEdit rewriteProfile(Game game, Edit edit) {
    LoadedProfile p = loadProfile(game);
    if (p.failure != ProfileEdit::Written) return p.failure;
    edit(p.lines);
    return storeProfile(p);
}

}  // namespace

std::optional<QString> profileFilePath(Game game) {
    return profileFileOf(game, gamePathOf(appConfig(), game));
}

void applyTauntLevel(QList<QByteArray>& lines, int level) {
    // Level 0 "All", 1 "No Auto Taunts", 2 "No Taunts", 3 "None": each switch turns off
    // from its own level on.
    struct Switch {
        QByteArray key;
        int firstLevelOn;  // the level from which the key reads "True"
        bool onMeansTrue;  // bAutoTaunt is the one switch that says what is allowed
    };
    static const Switch kSwitches[] = {
        {"bAutoTaunt", 1, false},
        {"bNoAutoTaunts", 1, true},
        {"bNoVoiceTaunts", 2, true},
        {"bNoVoiceMessages", 3, true},
    };
    for (QByteArray& line : lines) {
        for (const Switch& s : kSwitches) {
            if (!containsText(line, s.key)) continue;
            const bool reached = level >= s.firstLevelOn;
            const bool value = s.onMeansTrue ? reached : !reached;
            line = s.key + (value ? "=True" : "=False");
        }
    }
}

void applyTeam(QList<QByteArray>& lines, int teamIndex) {
    for (QByteArray& line : lines) {
        if (!containsText(line, "Team=")) continue;
        line = "Team=" + QByteArray::number(teamIndex);
        return;
    }
}

void applyUtTeam(QList<QByteArray>& lines, int teamIndex, bool spectating) {
    applyTeam(lines, spectating ? 255 : teamIndex);
}

void applySpectator(QList<QByteArray>& lines, bool on) {
    for (QByteArray& line : lines) {
        if (containsText(line, "OverrideClass=")) line = on ? "OverrideClass=Botpack.CHSpectator" : "OverrideClass=";
        if (containsText(line, "Team=")) line = on ? "Team=255" : "Team=0";
    }
}

bool holdsSpectatorClass(const QList<QByteArray>& lines) {
    for (const QByteArray& line : lines)
        if (containsText(line, "OverrideClass=Botpack.CHSpectator")) return true;
    return false;
}

void applyPlayerName(QList<QByteArray>& lines, const QByteArray& name) {
    const QByteArray nameLine = "Name=" + name;
    for (qsizetype header = 0; header < lines.size(); ++header) {
        if (!containsText(lines[header], "[DefaultPlayer]")) continue;
        lines[header] = "[DefaultPlayer]";
        // The section's own name lines, wherever they stand in it, take the new name.
        bool named = false;
        qsizetype i = header + 1;
        for (; i < lines.size() && !isSectionHeader(lines[i]); ++i) {
            if (!isNameLine(lines[i])) continue;
            lines[i] = nameLine;
            named = true;
        }
        if (!named) lines.insert(header + 1, nameLine);  // right under the header, as the game writes it
        header = named ? i - 1 : i;
    }
}

std::optional<QByteArray> encodePlayerName(const QString& name) {
    QByteArray bytes = unicodeToWindows1252(name);
    if (windows1252ToUnicode(bytes) != name) return std::nullopt;
    // A line break in a name would write a line of its own into the file.
    bytes.removeIf([](char c) { return static_cast<unsigned char>(c) < 0x20; });
    return bytes;
}

bool ReadSpectator() {
    const LoadedProfile p = loadProfile(Game::UT);
    return p.failure == ProfileEdit::Written && holdsSpectatorClass(p.lines);
}

ProfileEdit SetTauntLevel(Game game, int level) {
    return rewriteProfile(game, [level](QList<QByteArray>& l) { applyTauntLevel(l, level); });
}

ProfileEdit SetTeam(Game game, int teamIndex) {
    return rewriteProfile(game, [teamIndex](QList<QByteArray>& l) { applyTeam(l, teamIndex); });
}

ProfileEdit SetUtTeam(int teamIndex, bool spectating) {
    return rewriteProfile(Game::UT, [=](QList<QByteArray>& l) { applyUtTeam(l, teamIndex, spectating); });
}

ProfileEdit SetSpectator(bool on) {
    return rewriteProfile(Game::UT, [on](QList<QByteArray>& l) { applySpectator(l, on); });
}

ProfileEdit SetPlayerName(Game game, const QString& name) {
    if (name.isEmpty()) return ProfileEdit::Skipped;
    const std::optional<QByteArray> bytes = encodePlayerName(name);
    if (!bytes) return ProfileEdit::NameNotWritable;
    if (bytes->isEmpty()) return ProfileEdit::Skipped;
    return rewriteProfile(game, [&bytes](QList<QByteArray>& l) { applyPlayerName(l, *bytes); });
}
