#pragma once
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// Shared set-up of the fuzz programs: a Qt application on the offscreen platform, a
// temporary program folder, message boxes answered without a screen.
void fuzzSetUp();
QString fuzzFolder();
void fuzzWriteFile(const QString& name, const uint8_t* data, size_t size);
// Answers every question with Yes, or with No when no is set.
void fuzzAnswerNo(bool no);
