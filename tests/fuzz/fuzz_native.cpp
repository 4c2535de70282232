// Replies of a UT2003/UT2004 server's own protocol: information, rules and players,
// strings of every length byte (UCS-2 ones too), cut anywhere.
#include "FuzzSupport.h"
#include "query/NativeReplies.h"
#include "query/ReplyGathering.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzSetUp();
    const QByteArray reply(reinterpret_cast<const char*>(data), qsizetype(size));
    nativeReplyType(reply);
    const auto rules = readProbeRules(reply);
    const auto players = readNativePlayers(reply);
    if (const auto info = readNativeInfo(reply)) nativeStatus(*info, rules, players);
    return 0;
}
