#include "profile/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

#include "platform/FileIO.h"
#include "platform/Text1252.h"
#include "state/GameFiles.h"

namespace {

qsizetype endLength(const QByteArray& line) {
    if (line.endsWith("\r\n")) return 2;
    return line.endsWith('\n') || line.endsWith('\r') ? 1 : 0;
}

QByteArray textOf(const QByteArray& line) { return line.chopped(endLength(line)); }

// The key of a "key=value" line, as written, without the blanks around it.
QByteArray keyOf(const QByteArray& line) {
    const qsizetype eq = line.indexOf('=');
    return eq < 0 ? QByteArray() : line.left(eq).trimmed();
}

// The keys are ASCII; toLower() folds ASCII only, so high bytes are compared as they are.
bool isKey(const QByteArray& line, const QByteArray& key) { return keyOf(line).toLower() == key.toLower(); }

// The line with a new value after its "=" (and the blanks after it); the key as the
// file spells it and the line end stay.
void setValue(QByteArray& line, const QByteArray& value) {
    qsizetype start = line.indexOf('=') + 1;
    const QByteArray text = textOf(line);
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
    line = text.left(start) + value + line.right(endLength(line));
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

// Only a folder that denies new files to this user is a shared install; a full disk or
// any other failure leaves the old file whole and untouched.
bool folderRefusesNewFiles(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK) != 0 && (errno == EACCES || errno == EPERM);
}

QString writeProfileBytes(const QString& path, const QByteArray& bytes, const QByteArray& oldBytes) {
    const QString reason = writeFileAtomicallyWithReason(path, bytes);
    if (reason.isEmpty() || !folderRefusesNewFiles(QFileInfo(path).absolutePath())) return reason;
    return writeInPlace(path, bytes, oldBytes) ? QString() : reason;
}

struct LoadedProfile {
    ProfileResult failure;  // Written means loaded
    QString path;
    QByteArray bytes;
    QList<QByteArray> lines;
};

LoadedProfile loadProfile(Game game) {
    LoadedProfile p;
    const std::optional<QString> path = profileFilePath(game);
    if (!path) {
        p.failure.edit = ProfileEdit::Missing;
        return p;
    }
    p.path = *path;
    FileRead read = readFile(p.path);
    if (read.outcome != ReadOutcome::Read) {
        p.failure = {read.outcome == ReadOutcome::Missing ? ProfileEdit::Missing : ProfileEdit::ReadFailed,
                     read.outcome == ReadOutcome::TooBig ? QStringLiteral("it is too large") : read.reason};
        return p;
    }
    p.bytes = std::move(read.bytes);
    p.lines = splitProfileLines(p.bytes);
    return p;
}

// A file whose bytes would not change is not touched.
ProfileResult storeProfile(const LoadedProfile& p) {
    const QByteArray out = p.lines.join();
    if (out == p.bytes) return {ProfileEdit::Unchanged, {}};
    // The file may have gone while we edited; the rename must not bring it back half-known.
    if (!fileExists(p.path)) return {ProfileEdit::Missing, {}};
    const QString reason = writeProfileBytes(p.path, out, p.bytes);
    return {reason.isEmpty() ? ProfileEdit::Written : ProfileEdit::WriteFailed, reason};
}

template <typename Edit>
ProfileResult rewriteProfile(Game game, Edit edit) {
    LoadedProfile p = loadProfile(game);
    if (p.failure.edit != ProfileEdit::Written) return p.failure;
    edit(p.lines);
    return storeProfile(p);
}

bool hasControlCharacters(const QString& name) {
    return std::any_of(name.cbegin(), name.cend(),
                       [](QChar c) { return c.category() == QChar::Other_Control; });
}

}  // namespace

QList<QByteArray> splitProfileLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        lines.append(bytes.mid(start, i + 1 - start));
        start = i + 1;
    }
    if (start < bytes.size()) lines.append(bytes.mid(start));
    return lines;
}

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
            if (!isKey(line, s.key)) continue;
            const bool reached = level >= s.firstLevelOn;
            setValue(line, (s.onMeansTrue ? reached : !reached) ? "True" : "False");
        }
    }
}

void applyTeam(QList<QByteArray>& lines, int teamIndex) {
    for (QByteArray& line : lines) {
        if (!isKey(line, "Team")) continue;
        setValue(line, QByteArray::number(teamIndex));
        return;
    }
}

void applyUtTeam(QList<QByteArray>& lines, int teamIndex, bool spectating) {
    applyTeam(lines, spectating ? 255 : teamIndex);
}

void applySpectator(QList<QByteArray>& lines, bool on, int teamWhenOff) {
    for (QByteArray& line : lines) {
        if (isKey(line, "OverrideClass")) setValue(line, on ? "Botpack.CHSpectator" : "");
        if (isKey(line, "Team")) setValue(line, QByteArray::number(on ? 255 : teamWhenOff));
    }
}

bool holdsSpectatorClass(const QList<QByteArray>& lines) {
    for (const QByteArray& line : lines)
        if (isKey(line, "OverrideClass") &&
            textOf(line).mid(line.indexOf('=') + 1).trimmed().toLower() == "botpack.chspectator")
            return true;
    return false;
}

std::optional<int> teamOf(const QList<QByteArray>& lines) {
    for (const QByteArray& line : lines) {
        if (!isKey(line, "Team")) continue;
        bool ok = false;
        const int team = textOf(line).mid(line.indexOf('=') + 1).trimmed().toInt(&ok);
        return ok ? std::optional(team) : std::nullopt;
    }
    return std::nullopt;
}

void applyPlayerName(QList<QByteArray>& lines, const QByteArray& name) {
    for (qsizetype header = 0; header < lines.size(); ++header) {
        if (textOf(lines[header]).trimmed().toLower() != "[defaultplayer]") continue;
        // The section's own name lines, wherever they stand in it, take the new name.
        bool named = false;
        qsizetype i = header + 1;
        for (; i < lines.size() && !isSectionHeader(lines[i]); ++i) {
            if (!isKey(lines[i], "Name")) continue;
            setValue(lines[i], name);
            named = true;
        }
        if (!named) {
            // Right under the header, as the game writes it, with the header's line end. A
            // header that ends the file without one borrows the file's first line end, and
            // the name line then ends the file without one, as the header did.
            const QByteArray end = lines[header].right(endLength(lines[header]));
            if (end.isEmpty()) {
                lines[header] += lines.size() > 1 ? lines[0].right(endLength(lines[0])) : QByteArray("\r\n");
                lines.insert(header + 1, "Name=" + name);
            } else {
                lines.insert(header + 1, "Name=" + name + end);
            }
            ++i;
        }
        header = i - 1;
    }
}

std::optional<QByteArray> encodePlayerName(const QString& name) {
    if (hasControlCharacters(name)) return std::nullopt;
    QByteArray bytes = unicodeToWindows1252(name);
    if (windows1252ToUnicode(bytes) != name) return std::nullopt;
    return bytes;
}

bool readSpectator() {
    const LoadedProfile p = loadProfile(Game::UT);
    return p.failure.edit == ProfileEdit::Written && holdsSpectatorClass(p.lines);
}

std::optional<int> readUtTeam() {
    const LoadedProfile p = loadProfile(Game::UT);
    return p.failure.edit == ProfileEdit::Written ? teamOf(p.lines) : std::nullopt;
}

ProfileResult setTauntLevel(Game game, int level) {
    return rewriteProfile(game, [level](QList<QByteArray>& l) { applyTauntLevel(l, level); });
}

ProfileResult setTeam(Game game, int teamIndex) {
    return rewriteProfile(game, [teamIndex](QList<QByteArray>& l) { applyTeam(l, teamIndex); });
}

ProfileResult setUtTeam(int teamIndex, bool spectating) {
    return rewriteProfile(Game::UT, [=](QList<QByteArray>& l) { applyUtTeam(l, teamIndex, spectating); });
}

ProfileResult setSpectator(bool on, int teamWhenOff) {
    return rewriteProfile(Game::UT, [=](QList<QByteArray>& l) { applySpectator(l, on, teamWhenOff); });
}

ProfileResult setPlayerName(Game game, const QString& name) {
    if (name.isEmpty()) return {ProfileEdit::Skipped, {}};
    const std::optional<QByteArray> bytes = encodePlayerName(name);
    if (!bytes)
        return {hasControlCharacters(name) ? ProfileEdit::NameHasControls : ProfileEdit::NameNotWritable, {}};
    return rewriteProfile(game, [&bytes](QList<QByteArray>& l) { applyPlayerName(l, *bytes); });
}
