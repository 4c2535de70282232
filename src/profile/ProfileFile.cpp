#include "profile/ProfileFile.h"

#include <QDir>
#include <QFileInfo>

#include "platform/FileIO.h"
#include "platform/Text1252.h"
#include "state/AppConfig.h"

namespace {

const QByteArray kCrLf = "\r\n";

bool containsText(const QByteArray& line, const QByteArray& text) {
    // The keys are ASCII; toLower() folds ASCII only, so high bytes are compared as they are.
    return line.toLower().contains(text.toLower());
}

// A "Name=" line is one whose key, before the first "=", is Name in any letter case.
bool isNameLine(const QByteArray& line) {
    const qsizetype eq = line.indexOf('=');
    return eq >= 0 && line.left(eq).trimmed().toLower() == "name";
}

QString executableNameOf(ProfileGame game) {
    switch (game) {
    case ProfileGame::UT: return QStringLiteral("unrealtournament.exe");
    case ProfileGame::UT2003: return QStringLiteral("ut2003.exe");
    case ProfileGame::UT2004: return QStringLiteral("ut2004.exe");
    }
    return {};
}

QString configuredPathOf(ProfileGame game) {
    const AppConfig& c = appConfig();
    switch (game) {
    case ProfileGame::UT: return c.UtPath;
    case ProfileGame::UT2003: return c.Ut2003Path;
    case ProfileGame::UT2004: return c.Ut2004Path;
    }
    return {};
}

struct LoadedProfile {
    ProfileEdit failure = ProfileEdit::Written;  // Written means loaded
    QString path;
    QByteArray bytes;
    QList<ProfileLine> lines;
};

LoadedProfile loadProfile(ProfileGame game) {
    LoadedProfile p;
    p.path = profileFilePath(game);
    if (p.path.isEmpty() || !fileExists(p.path)) {
        p.failure = ProfileEdit::Missing;
        return p;
    }
    const std::optional<QByteArray> bytes = readWholeFile(p.path);
    if (!bytes) {
        p.failure = ProfileEdit::ReadFailed;
        return p;
    }
    p.bytes = *bytes;
    p.lines = splitProfileLines(p.bytes);
    return p;
}

// Writes the edited lines back through a temporary file renamed over the old one; a file
// whose bytes would not change is not touched, so an empty file stays as it is.
ProfileEdit storeProfile(const LoadedProfile& p) {
    const QByteArray out = joinProfileLines(p.lines);
    if (out == p.bytes) return ProfileEdit::Unchanged;
    // The file may have gone while we edited; the rename must not bring it back half-known.
    if (!fileExists(p.path)) return ProfileEdit::Missing;
    return writeFileAtomically(p.path, out) ? ProfileEdit::Written : ProfileEdit::WriteFailed;
}

template <typename Edit>
ProfileEdit rewriteProfile(ProfileGame game, Edit edit) {
    LoadedProfile p = loadProfile(game);
    if (p.failure != ProfileEdit::Written) return p.failure;
    edit(p.lines);
    return storeProfile(p);
}

void replaceText(ProfileLine& line, const QByteArray& text) { line.text = text; }

}  // namespace

QList<ProfileLine> splitProfileLines(const QByteArray& bytes) {
    QList<ProfileLine> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        const qsizetype endStart = i;
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        lines.append({bytes.mid(start, endStart - start), bytes.mid(endStart, i + 1 - endStart)});
        start = i + 1;
    }
    if (start < n) lines.append({bytes.mid(start), QByteArray()});
    return lines;
}

QByteArray joinProfileLines(const QList<ProfileLine>& lines) {
    QByteArray out;
    for (const ProfileLine& line : lines) {
        out += line.text;
        out += line.end.isEmpty() ? kCrLf : line.end;
    }
    return out;
}

QString profileGameFolderOf(const QString& executablePath, const QString& executableName) {
    QString folder = executablePath;
    folder.remove(executableName, Qt::CaseInsensitive);
    return folder;
}

QString profileFilePath(ProfileGame game) {
    const QString configured = configuredPathOf(game);
    if (configured.isEmpty()) return {};
    return profileGameFolderOf(configured, executableNameOf(game)) + QStringLiteral("user.ini");
}

bool profileFileExists(ProfileGame game) {
    const QString path = profileFilePath(game);
    return !path.isEmpty() && fileExists(path);
}

void applyTauntLevel(QList<ProfileLine>& lines, int level) {
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
    for (ProfileLine& line : lines) {
        for (const Switch& s : kSwitches) {
            if (!containsText(line.text, s.key)) continue;
            const bool reached = level >= s.firstLevelOn;
            const bool value = s.onMeansTrue ? reached : !reached;
            replaceText(line, s.key + (value ? "=True" : "=False"));
        }
    }
}

void applyTeam(QList<ProfileLine>& lines, int teamIndex) {
    for (ProfileLine& line : lines) {
        if (!containsText(line.text, "Team=")) continue;
        replaceText(line, "Team=" + QByteArray::number(teamIndex));
        return;
    }
}

void applyUtTeam(QList<ProfileLine>& lines, int teamIndex, bool spectating) {
    applyTeam(lines, spectating ? 255 : teamIndex);
}

void applySpectator(QList<ProfileLine>& lines, bool on) {
    for (ProfileLine& line : lines) {
        if (containsText(line.text, "OverrideClass="))
            replaceText(line, on ? "OverrideClass=Botpack.CHSpectator" : "OverrideClass=");
        if (containsText(line.text, "Team="))
            replaceText(line, on ? "Team=255" : "Team=0");
    }
}

bool holdsSpectatorClass(const QList<ProfileLine>& lines) {
    for (const ProfileLine& line : lines)
        if (containsText(line.text, "OverrideClass=Botpack.CHSpectator")) return true;
    return false;
}

void applyPlayerName(QList<ProfileLine>& lines, const QByteArray& name) {
    const QByteArray nameLine = "Name=" + name;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!containsText(lines[i].text, "[DefaultPlayer]")) continue;
        replaceText(lines[i], "[DefaultPlayer]");
        const bool nameFollows = i + 1 < lines.size() && isNameLine(lines[i + 1].text);
        if (nameFollows) {
            replaceText(lines[i + 1], nameLine);
        } else {
            // Another key of the user's follows the header (or nothing does): keep it and
            // put the name right under the header, where the game looks first.
            QByteArray end = lines[i].end.isEmpty() ? kCrLf : lines[i].end;
            lines[i].end = end;
            if (i + 1 == lines.size()) end.clear();  // the last line keeps the file's ending rule
            lines.insert(i + 1, {nameLine, end});
        }
        ++i;  // the name line is done
    }
}

bool ReadSpectator() {
    const LoadedProfile p = loadProfile(ProfileGame::UT);
    return p.failure == ProfileEdit::Written && holdsSpectatorClass(p.lines);
}

ProfileEdit SetTauntLevel(ProfileGame game, int level) {
    return rewriteProfile(game, [level](QList<ProfileLine>& l) { applyTauntLevel(l, level); });
}

ProfileEdit SetTeam(ProfileGame game, int teamIndex) {
    return rewriteProfile(game, [teamIndex](QList<ProfileLine>& l) { applyTeam(l, teamIndex); });
}

ProfileEdit SetUtTeam(int teamIndex, bool spectating) {
    return rewriteProfile(ProfileGame::UT, [=](QList<ProfileLine>& l) {
        applyUtTeam(l, teamIndex, spectating);
    });
}

ProfileEdit SetSpectator(bool on) {
    return rewriteProfile(ProfileGame::UT, [on](QList<ProfileLine>& l) { applySpectator(l, on); });
}

ProfileEdit SetPlayerName(ProfileGame game, const QString& name) {
    if (name.isEmpty()) return ProfileEdit::Skipped;
    QByteArray bytes = unicodeToWindows1252(name);
    // A line break in a name would write a line of its own into the file.
    bytes.removeIf([](char c) { return static_cast<unsigned char>(c) < 0x20; });
    if (bytes.isEmpty()) return ProfileEdit::Skipped;
    return rewriteProfile(game, [&bytes](QList<ProfileLine>& l) { applyPlayerName(l, bytes); });
}

std::optional<Message> profileEditMessage(ProfileEdit result, const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const QString notSaved = QStringLiteral("\r\n\r\nYour change was not saved.");
    Message m;
    m.icon = MsgIcon::Exclamation;
    m.title = QStringLiteral("Game Settings");
    switch (result) {
    case ProfileEdit::Written:
    case ProfileEdit::Unchanged:
    case ProfileEdit::Skipped:
        return std::nullopt;
    case ProfileEdit::Missing:
        if (path.isEmpty()) return std::nullopt;
        m.text = QStringLiteral("Could not find ") + shown + notSaved;
        return m;
    case ProfileEdit::ReadFailed:
        m.text = QStringLiteral("Could not read ") + shown + notSaved;
        return m;
    case ProfileEdit::WriteFailed:
        m.text = QStringLiteral("Could not write ") + shown +
                 QStringLiteral("\r\n\r\nThe file was left as it was; your change was not saved.");
        return m;
    }
    return std::nullopt;
}
