// A GameSpy master's stream, the greeting and the list, cut into reads where the first
// byte says.
#include "FuzzSupport.h"
#include "master/GameSpyExchange.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const qsizetype cut = 1 + data[0] % 64;
    const QByteArrayView stream(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    GameSpyExchange e("ut");
    for (qsizetype at = 0; at < stream.size() && e.state() != MasterExchange::State::Failed; at += cut)
        e.feed(stream.sliced(at, std::min(cut, stream.size() - at)));
    e.closed();
    return 0;
}
