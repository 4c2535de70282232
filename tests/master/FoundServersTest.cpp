// The "Find Servers" list's rules without a window: filters, sorting, buddies, and the
// favourites it adds.
#include <gtest/gtest.h>

#include "master/FoundServers.h"

namespace {
FoundServer server(const char* name, int players, int max, const char* type, bool password = false,
                   QStringList names = {}) {
    FoundServer s;
    s.server = *parseServerAddress("127.0.0.1:7778");
    s.answered = true;
    s.hostName = QString::fromLatin1(name);
    s.numPlayers = players;
    s.maxPlayers = max;
    s.gameType = QString::fromLatin1(type);
    s.password = password;
    s.players = names;
    return s;
}
}  // namespace

TEST(FoundFilters, EachFilterAlone) {
    const FoundServer empty = server("Empty DM", 0, 16, "DM");
    const FoundServer full = server("Full CTF", 16, 16, "CTF");
    const FoundServer locked = server("Clan [XYZ] match", 4, 10, "CTF", true);
    FoundServer silent;
    silent.server = *parseServerAddress("127.0.0.2:7778");
    const struct { FoundFilter filter; std::array<bool, 4> passes; } cases[] = {
        {{}, {true, true, true, true}},
        {{QStringLiteral("CTF")}, {false, true, true, false}},
        {{{}, true}, {false, true, true, false}},
        {{{}, false, true}, {true, false, true, false}},
        {{{}, false, false, true}, {true, true, false, false}},
        {{{}, false, false, false, QStringLiteral("xyz")}, {false, false, true, false}},
    };
    for (const auto& c : cases) {
        const FoundServer* all[] = {&empty, &full, &locked, &silent};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(foundPasses(*all[i], c.filter), c.passes[i]) << i;
    }
}

TEST(FoundSorting, NumbersByValueAndSilentServersLast) {
    FoundServer a = server("alpha", 9, 16, "DM"), b = server("Bravo", 10, 16, "DM");
    a.ping = 120;
    b.ping = 35;
    FoundServer silent;
    EXPECT_TRUE(foundLessThan(a, b, FoundColumn::Players));   // 9 before 10, not "10" before "9"
    EXPECT_TRUE(foundLessThan(b, a, FoundColumn::Ping));
    EXPECT_TRUE(foundLessThan(a, b, FoundColumn::Server));    // letter case ignored
    EXPECT_TRUE(foundLessThan(b, silent, FoundColumn::Ping));
    EXPECT_FALSE(foundLessThan(silent, b, FoundColumn::Ping));
    EXPECT_EQ(foundCellText(a, FoundColumn::Players), "09/16");
    EXPECT_EQ(foundCellText(silent, FoundColumn::Server), silent.server.text());
}

TEST(FindBuddies, PatternsAndNamesAsTheMainWindowMatchesThem) {
    const QList<FoundServer> servers = {
        server("One", 3, 16, "DM", false, {"xBOBx", "Alice", "Carol"}),
        server("Two", 2, 16, "DM", false, {"bob", "[XYZ]Dave"}),
    };
    const auto seen = findBuddies({"Bob", "**bob**", "[XYZ]**", "", "alice"}, servers);
    QStringList got;
    for (const BuddySighting& b : seen)
        got << b.buddy + "=" + b.player + "@" + servers[b.serverIndex].hostName;
    // "bob" goes to the plain entry Bob, the first that matches; xBOBx only to the pattern.
    EXPECT_EQ(got, QStringList({"Bob=bob@Two", "**bob**=xBOBx@One", "[XYZ]**=[XYZ]Dave@Two",
                                "alice=Alice@One"}));
}
