// The favourites import of each game from an arbitrary ini file.
#include "FuzzSupport.h"
#include "platform/FileIO.h"
#include "platform/Text1252.h"
#include "settings/FavouritesImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzSetUp();
    QStringList lines;
    for (const QByteArray& line : splitLines(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        lines.append(windows1252ToUnicode(line));
    FlexGrid grid(2, 4);
    addImportedFavourites(grid, readUtFavourites(lines), QStringLiteral("UT"));
    addImportedFavourites(grid, readUt2003Favourites(lines), QStringLiteral("UT2"));
    addImportedFavourites(grid, readUt2004Favourites(lines), QStringLiteral("UT3"));
    return 0;
}
