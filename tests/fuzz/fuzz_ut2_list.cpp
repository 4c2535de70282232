// A UT2003/UT2004 master's stream (challenge, answers, count, records), cut into reads
// where the first byte says; its low bit picks the game.
#include "FuzzSupport.h"
#include "master/Ut2MasterExchange.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const qsizetype cut = 1 + (data[0] >> 1) % 128;
    const Game game = data[0] & 1 ? Game::UT2003 : Game::UT2004;
    const QByteArrayView stream(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    Ut2MasterExchange e(game, *CdKey::parse("ABCDE-FGHIJ-KLMNO-PQRST"));
    for (qsizetype at = 0; at < stream.size(); at += cut) {
        if (e.state() == MasterExchange::State::Failed || e.state() == MasterExchange::State::Complete) break;
        for (const ListedServer& s : e.feed(stream.sliced(at, std::min(cut, stream.size() - at))).servers)
            if (s.server.port < 11) __builtin_trap();  // every listed port is a game port + 10
    }
    e.closed();
    return 0;
}
