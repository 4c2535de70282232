// The profile line edits on arbitrary "User.ini" bytes: every edit, then a check that
// the edited lines written out and read back are the same lines (no edit makes a line
// break of its own), and that the lines joined give the bytes they came from.
#include <cstdlib>

#include "FuzzSupport.h"
#include "profile/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzSetUp();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QByteArray> lines = splitProfileLines(bytes);
    if (lines.join() != bytes) std::abort();
    const int pick = size ? data[0] : 0;
    applyTauntLevel(lines, pick % 4);
    applyTeam(lines, pick % 2);
    applyUtTeam(lines, pick % 4, pick & 4);
    applySpectator(lines, pick & 8);
    holdsSpectatorClass(lines);
    const auto name = encodePlayerName(QString::fromLatin1(bytes.left(20)));
    applyPlayerName(lines, name.value_or("Big_Bob"));
    if (splitProfileLines(lines.join()) != lines) std::abort();
    return 0;
}
