// The bitmap loader on arbitrary files named ".bmp".
#include "FuzzSupport.h"
#include "screenshots/Bitmap.h"
#include "state/ProgramFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzSetUp();
    fuzzWriteFile(QStringLiteral("shot.bmp"), data, size);
    Bitmap dib;
    dib.load(programFile(QStringLiteral("shot.bmp")));
    dib.clear();
    return 0;
}
