// Bad datagrams never crash, never reach the wrong row, and stay bounded, also with
// many servers answering at once.
#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

#include "QueryTestHelpers.h"
#include "platform/Text1252.h"

namespace {
constexpr int kBase = 41700;  // loopback ports nobody answers on

QStringList servers(int n) {
    QStringList lines;
    for (int i = 0; i < n; ++i) lines << favourite(kBase + i, i % 2 ? "UT3" : "UT");
    return lines;
}

// Server i's reply in three numbered parts, named after it.
QList<QByteArray> partsOf(int i) {
    const QByteArray name = "Server " + QByteArray::number(i);
    QByteArray players;
    for (int p = 0; p < 12; ++p) players += playerKeys(p, name + " player " + QByteArray::number(p));
    QByteArray whole = withPlayers(i % 2 ? ut2004Reply({}, "12") : utReply({}, "12"), players);
    whole.replace(i % 2 ? "Test Server" : "UT Server", name);
    return numberedParts(whole, i + 1, {"\\player_3", "\\player_8"});
}
}  // namespace

TEST(MalformedInput, ManyServersInterleavedWithNoiseEachGetTheirOwnRow) {
    constexpr int n = 24;
    MonitorFixture t(servers(n));
    t.m.refreshAll();
    pumpEvents(50);  // every query out, the probes' waits over
    QRandomGenerator rng(4711);
    QList<QPair<int, QByteArray>> sends;
    for (int i = 0; i < n; ++i)
        for (const QByteArray& part : partsOf(i)) sends.append({kBase + i, part});
    for (int k = 0; k < 3000; ++k) {
        QByteArray noise;
        switch (k % 4) {
            case 0:
                noise.resize(int(rng.bounded(1, 1400)));
                for (char& c : noise) c = char(rng.bounded(256));
                break;
            case 1:  // random part numbers, some huge, none with "\final\"
                noise = "\\junk\\" + QByteArray::number(k) + "\\queryid\\" + QByteArray::number(rng.generate()) +
                        '.' + QByteArray::number(k % 8 ? rng.bounded(1, 300) : 4294967295u);
                break;
            case 2: {  // a server's first part twice
                const int i = int(rng.bounded(n));
                sends.append({kBase + i, partsOf(i)[0]});
                continue;
            }
            default:  // a whole reply from a port nobody asked
                sends.append({kBase + n + int(rng.bounded(3)), utReply({}).replace("UT Server", "Intruder")});
                continue;
        }
        sends.append({kBase + int(rng.bounded(n)) - (k % 5 == 0 ? 9 : 0), noise});
    }
    // Noise first for some, then every server's parts shuffled among the rest.
    std::shuffle(sends.begin(), sends.end(), std::mt19937(7));
    for (const auto& [port, d] : sends) t.feed(d, port);
    for (int i = 0; i < n; ++i) {
        const int row = i + 1;
        EXPECT_EQ(t.cell(row, ServerCol::Name), "Server " + QString::number(i)) << row;
        EXPECT_EQ(t.cell(row, ServerCol::Players), "12/16") << row;
    }
    EXPECT_TRUE(t.m.querier().idle());
}

namespace {
// The selected UT2004 server, asked once.
struct Asked : MonitorFixture {
    Asked() : MonitorFixture({favourite(kQuietUt2Port, "UT3")}) {
        s.ScanRow = 1;
        ask(1);
    }
};
}  // namespace

TEST(MalformedInput, TenThousandPlayersAnnouncedShowsThoseListed) {
    Asked t;
    QByteArray players;
    for (int i = 0; i < 40; ++i) players += playerKeys(i, "P" + QByteArray::number(i));
    t.feed(withPlayers(ut2004Reply({}, "10000"), players), kQuietUt2Port);
    EXPECT_EQ(t.cell(1, ServerCol::Players), "40/16");
    EXPECT_EQ(t.s.Flex.Rows(), 41);
}

TEST(MalformedInput, ControlBytesKeptAs1252TextAndKeysReadInAnyCase) {
    Asked t;
    const QByteArray name = QByteArray("\x1b\xff\x01\x01Red\x07\t\xe9", 10);
    t.feed("\\gamename\\UT2004\\HostName\\Caps\\NUMPLAYERS\\1\\MaxPlayers\\8\\Player_0\\" + name +
               "\\FRAGS_0\\0\\ping_0\\9\\team_0\\0\\final\\",
           kQuietUt2Port);
    EXPECT_EQ(t.cell(1, ServerCol::Name), "Caps");
    EXPECT_EQ(t.cell(1, ServerCol::Players), "01/08");
    EXPECT_EQ(t.s.Flex.TextMatrix(1, 0), windows1252ToUnicode(name.mid(4)));  // the colour code dropped
    EXPECT_EQ(t.s.Flex.TextMatrix(1, 1), "0");  // the tab did not split the cells
}
