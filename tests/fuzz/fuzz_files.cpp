// VYRN's own files: "vyrn.ini" (with the old-format reset and its favourites import),
// "servers.ini" and "buddies.ini" read into the main grids and written back.
#include <QFile>

#include "FuzzSupport.h"
#include "query/MainGrids.h"
#include "state/ConfigFile.h"
#include "state/FavouritesFiles.h"
#include "state/ProgramFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzSetUp();
    for (const QString& name : {kConfigFileName, kServersFileName, kBuddiesFileName})
        QFile::remove(programFile(name));
    // The first byte picks the file and the answer to the reset question.
    const uint8_t pick = size ? data[0] : 0;
    const uint8_t* body = size ? data + 1 : data;
    const size_t bodySize = size ? size - 1 : 0;
    const QString names[] = {kConfigFileName, kServersFileName, kBuddiesFileName};
    fuzzWriteFile(names[pick % 3], body, bodySize);
    fuzzAnswerNo(pick & 0x80);

    AppConfig config;
    bool skip = false;
    if (loadConfig(config, skip) == GetPathsResult::OldFormat) resetOldFormat(!(pick & 0x80));
    MainState s;
    setUpServerGrid(s);
    setUpBuddyGrid(s);
    loadServerList(s);
    loadBuddyList(s);
    sortServerGrid(s, 1 + pick % 9);
    saveSortedServerList(s);
    rewriteConfig(config, QStringLiteral("True"));
    return 0;
}
