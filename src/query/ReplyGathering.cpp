#include "query/ReplyGathering.h"

#include "query/ColourCodes.h"

namespace {
constexpr auto CI = Qt::CaseInsensitive;
}

bool isProbeDatagram(const QString& d) {
    return d.indexOf(QStringView(u"\0\0", 2), 1) >= 1;
}

bool isStatusComplete(const QString& text) {
    if (!text.contains(QLatin1String("\\final\\")) || !text.contains(QLatin1String("\\gamename\\")))
        return false;
    const qsizetype pos = text.indexOf(QLatin1String("\\numplayers\\"), 0, CI);
    if (pos < 0) return false;
    // Only the first two characters of the count are read, so a huge count waits for a
    // small key and never for thousands of players.
    QString count = text.mid(pos + 12, 2);
    count.remove(QLatin1Char('\\'));
    bool numeric = false;
    const int n = count.toInt(&numeric);
    if (!numeric || n < 8) return true;  // a count that is no number asks for no players
    const qsizetype first = text.indexOf(QLatin1String("player_0"), 0, CI);
    if (first < 0) return true;
    if (first == 0) return false;
    return text.indexOf(QStringLiteral("player_") + QString::number(n - 8), 1, CI) >= 1;
}

ReplyGame replyGame(const QString& text) {
    for (const char* ut2 : {"gamename\\ut2004\\", "gamename\\ut2\\", "gamename\\ut2d\\"})
        if (text.contains(QLatin1String(ut2), CI)) return ReplyGame::Ut2;
    if (text.contains(QLatin1String("gamename\\ut\\"), CI)) return ReplyGame::Ut;
    return ReplyGame::None;
}

QStringList splitStatusFields(const QString& text) {
    // Colour codes go first: their colour bytes may be any byte, a backslash too.
    return stripColourCodes(text).split(QLatin1Char('\\'), Qt::KeepEmptyParts);
}

QStringList splitProbeFields(const QString& buffer) {
    return buffer.split(QChar(u'\0'), Qt::KeepEmptyParts);
}
