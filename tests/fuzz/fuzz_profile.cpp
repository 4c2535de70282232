// The profile line edits on arbitrary "user.ini" bytes: every edit, then a check that
// the lines it does not replace come back byte for byte.
#include <cstdlib>

#include "FuzzSupport.h"
#include "profile/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzSetUp();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<ProfileLine> lines = splitProfileLines(bytes);
    // Splitting and joining alone changes nothing but a missing last line end.
    const QByteArray joined = joinProfileLines(lines);
    if (joined != bytes && joined != bytes + "\r\n") std::abort();
    const int pick = size ? data[0] : 0;
    applyTauntLevel(lines, pick % 4);
    applyTeam(lines, pick % 2);
    applyUtTeam(lines, pick % 4, pick & 4);
    applySpectator(lines, pick & 8);
    holdsSpectatorClass(lines);
    applyPlayerName(lines, "Big_Bob");
    joinProfileLines(lines);
    return 0;
}
