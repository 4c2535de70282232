#include <gtest/gtest.h>

#include "query/ColourCodes.h"
#include "support/TestSupport.h"

TEST(ColourCodes, CodesAreRemovedWhereverTheyStand) {
    const QChar esc(27);
    const struct { QString in, out; } cases[] = {
        {"Bob", "Bob"},
        {QString(esc) + QChar(255) + QChar(1) + QChar(1) + "Bob", "Bob"},
        {"B" + QString(esc) + "\x01\x01\xff" + "o" + QString(esc) + "abc" + "b", "Bob"},
        {"Bob" + QString(esc) + QChar(255), "Bob"},  // cut short at the end
        {QString(esc) + "\\\\\\" + "x", "x"},      // colour bytes that look like separators
        {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(stripColourCodes(c.in), c.out);
}
