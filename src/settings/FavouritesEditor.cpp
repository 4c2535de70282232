#include "settings/FavouritesEditor.h"

#include <QRegularExpression>
#include <cmath>

#include "query/MainGrids.h"
#include "settings/SettingsGrids.h"

namespace {
const QString kAddTitle = QStringLiteral("Adding a server");
const QString kEditTitle = QStringLiteral("Edit");

// The typed text; empty for a cancelled box.
QString answerOf(const InputAsker& ask, const QString& prompt, const QString& title,
                 const QString& defaultText = {}) {
    return ask({prompt, title, defaultText}).value_or(QString());
}

QString numberText(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return QString::number(value, 'g', 15);
}

// Refuses an address or port no server can have, naming it; true when it is sound.
bool acceptAddress(const QString& address, const QString& title) {
    if (isServerAddress(address)) return true;
    prompter().ask(
        {QStringLiteral("The address \"") + address +
             QStringLiteral("\" is neither an IP address (four numbers from 0 to 255 between dots) "
                            "nor a host name."),
         MsgIcon::Exclamation, title});
    return false;
}

bool acceptPort(const QString& port, const QString& title) {
    if (portOf(port)) return true;
    prompter().ask({QStringLiteral("The port \"") + port +
                        QStringLiteral("\" is not a port: use a whole number from 1 to 65535."),
                    MsgIcon::Exclamation, title});
    return false;
}

// Row 1 is free for a new favourite when it holds neither a number nor an address.
bool firstRowIsFree(const FlexGrid& g) { return g.cellText(1, 0).isEmpty() && g.cellText(1, 1).isEmpty(); }
}  // namespace

QString suggestedQueryPort(double gamePort, const QString& code) {
    const int offset = code == QLatin1String("UT") ? 1 : 10;
    return numberText(gamePort + offset);
}

std::optional<int> portOf(const QString& text) {
    static const QRegularExpression digits(QStringLiteral(R"(^\s*\d{1,5}\s*$)"));
    if (!digits.match(text).hasMatch()) return std::nullopt;
    const int port = text.trimmed().toInt();
    return port >= 1 && port <= 65535 ? std::optional(port) : std::nullopt;
}

bool isServerAddress(const QString& text) {
    static const QRegularExpression dotted(QStringLiteral(R"(^(\d{1,3})\.(\d{1,3})\.(\d{1,3})\.(\d{1,3})$)"));
    static const QRegularExpression numeric(QStringLiteral(R"(^[\d.]*$)"));
    static const QRegularExpression host(QStringLiteral(
        R"(^([A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?\.)*[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?\.?$)"));
    if (numeric.match(text).hasMatch()) {
        const QRegularExpressionMatch m = dotted.match(text);
        if (!m.hasMatch()) return false;
        for (int i = 1; i <= 4; ++i)
            if (m.captured(i).toInt() > 255) return false;
        return true;
    }
    return text.size() <= 253 && host.match(text).hasMatch();
}

void addFavourite(FlexGrid& g, const InputAsker& ask, const GameChooser& chooseGame) {
    const QString answer =
        answerOf(ask, QStringLiteral("Enter the IP address for this server."), kAddTitle);
    if (answer.isEmpty()) return;
    QString address = answer.trimmed(), gamePort;
    if (answer.contains(':')) {
        const QStringList parts = answer.split(':');
        address = parts[0].trimmed();
        gamePort = parts[1].trimmed();
        if (address.isEmpty()) return;  // an empty address would never be stored
    } else {
        gamePort = answerOf(ask, QStringLiteral("Enter the game port for this server."), kAddTitle);
        if (gamePort.isEmpty()) return;
    }
    if (!acceptAddress(address, kAddTitle) || !acceptPort(gamePort, kAddTitle)) return;
    const int port = *portOf(gamePort);
    const QString code = chooseGame(QString()).value_or(QString());
    if (code.isEmpty()) return;
    const QString queryPort = answerOf(ask,
                                       QStringLiteral("Edit the query port for this server.\r\n"
                                                      "A default value has been suggested to you."),
                                       kAddTitle, suggestedQueryPort(port, code));
    if (queryPort.isEmpty() || !acceptPort(queryPort, kAddTitle)) return;
    if (firstRowIsFree(g)) {
        g.setCellText(1, 0, QStringLiteral("1"));
        g.setCellText(1, 1, address);
        g.setCellText(1, 2, queryPort.trimmed());
        g.setCellText(1, 3, code);
        return;
    }
    appendGridRow(g, {QString::number(g.rowCount()), address, queryPort.trimmed(), code});
}

void editFavourite(FlexGrid& g, const InputAsker& ask, const GameChooser& chooseGame) {
    const int r = g.currentRow();
    if (r < 1 || r >= g.rowCount() || g.cellText(r, 1).isEmpty()) return;
    const QString answer =
        answerOf(ask, QStringLiteral("Edit the IP address for this server."), kEditTitle, g.cellText(r, 1));
    if (answer.isEmpty()) return;
    // An address typed with a port: the port becomes the query port offered below.
    const QString address = answer.section(':', 0, 0).trimmed();
    const QString typedPort = answer.contains(':') ? answer.section(':', 1, 1).trimmed() : QString();
    if (!acceptAddress(address, kEditTitle)) return;
    if (answer.contains(':') && !acceptPort(typedPort, kEditTitle)) return;
    const QString code = chooseGame(g.cellText(r, 3)).value_or(QString());
    if (code.isEmpty()) return;
    const QString queryPort = answerOf(ask, QStringLiteral("Edit the Query Port for this server."),
                                       kEditTitle, answer.contains(':') ? typedPort : g.cellText(r, 2));
    if (queryPort.isEmpty() || !acceptPort(queryPort, kEditTitle)) return;
    g.setCellText(r, 1, address);
    g.setCellText(r, 2, queryPort.trimmed());
    g.setCellText(r, 3, code);
}

void removeFavourite(FlexGrid& g) {
    const int r = g.currentRow();
    if (r == 1) {
        for (int c = 0; c < g.colCount(); ++c) g.setCellText(1, c, QString());
    } else if (r > 1) {
        g.removeRow(r);
    }
}

void clearFavourites(FlexGrid& g) { layoutSettingsServerGrid(g, kGameColumnWidthAfterClear); }

void exchangeFavouriteRows(FlexGrid& g, int a, int b) {
    for (int c = 1; c < g.colCount(); ++c) {
        const QString t = g.cellText(a, c);
        g.setCellText(a, c, g.cellText(b, c));
        g.setCellText(b, c, t);
    }
}

void moveFavouriteUp(FlexGrid& g) {
    const int r = g.currentRow();
    if (r < 2 || r >= g.rowCount()) return;
    exchangeFavouriteRows(g, r, r - 1);
    highlightGridRow(g, r - 1);
}

void moveFavouriteDown(FlexGrid& g) {
    const int r = g.currentRow();
    if (r < 1 || r >= g.rowCount() - 1) return;
    exchangeFavouriteRows(g, r, r + 1);
    highlightGridRow(g, r + 1);
}

void swapFavourites(FlexGrid& g, const SwapChooser& chooseSwap) {
    const std::optional<SwapRows> rows = chooseSwap();
    if (!rows) return;
    const int a = rows->first, b = rows->second;
    if (a < 1 || b < 1 || a >= g.rowCount() || b >= g.rowCount()) return;  // rows gone meanwhile
    exchangeFavouriteRows(g, a, b);
    highlightGridRow(g, b);
}
