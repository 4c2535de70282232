#pragma once
#include <QByteArray>

// The answer to a GameSpy master's "\secure\" challenge: the challenge scrambled with the
// game's secret key by an RC4-like table, then written in the base-64 alphabet (three
// bytes to four characters, the last group padded with zero bytes, no "=").
// Challenges longer than 64 bytes get an empty answer, as the games give none.
QByteArray gameSpyValidate(const QByteArray& challenge, const QByteArray& gameKey);

// The secret key GameSpy gave UT ("ut"); empty for a game without one.
QByteArray gameSpyKey(const QByteArray& gameName);
