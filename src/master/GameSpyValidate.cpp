#include "master/GameSpyValidate.h"

#include <array>
#include <cstdint>

namespace {
constexpr qsizetype kMaxChallenge = 64;

char base64Digit(uint8_t v) {
    static constexpr char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    return kDigits[v & 63];
}
}  // namespace

QByteArray gameSpyValidate(const QByteArray& challenge, const QByteArray& gameKey) {
    if (gameKey.isEmpty() || challenge.size() > kMaxChallenge) return {};
    std::array<uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) table[i] = uint8_t(i);
    uint8_t a = 0;
    for (int i = 0; i < 256; ++i) {
        a = uint8_t(a + table[i] + uint8_t(gameKey[i % gameKey.size()]));
        std::swap(table[a], table[i]);
    }
    QByteArray scrambled(challenge.size(), '\0');
    a = 0;
    uint8_t b = 0;
    for (qsizetype i = 0; i < challenge.size(); ++i) {
        const uint8_t c = uint8_t(challenge[i]);
        a = uint8_t(a + c + 1);
        const uint8_t x = table[a];
        b = uint8_t(b + x);
        const uint8_t y = table[b];
        table[b] = x;
        table[a] = y;
        scrambled[i] = char(c ^ table[uint8_t(x + y)]);
    }
    while (scrambled.size() % 3) scrambled.append('\0');
    QByteArray out;
    for (qsizetype i = 0; i < scrambled.size(); i += 3) {
        const uint8_t x = uint8_t(scrambled[i]), y = uint8_t(scrambled[i + 1]), z = uint8_t(scrambled[i + 2]);
        out += base64Digit(x >> 2);
        out += base64Digit(uint8_t(((x & 3) << 4) | (y >> 4)));
        out += base64Digit(uint8_t(((y & 15) << 2) | (z >> 6)));
        out += base64Digit(z);
    }
    return out;
}

QByteArray gameSpyKey(const QByteArray& gameName) {
    if (gameName.compare("ut", Qt::CaseInsensitive) == 0) return "Z5Nfb0";
    return {};
}
