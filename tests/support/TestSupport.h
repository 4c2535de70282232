#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <deque>
#include <optional>
#include <ostream>

#include "platform/Prompter.h"

// A temporary program folder, installed as the program folder for the test's life.
class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const;
    void write(const QString& name, const QByteArray& contents) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

private:
    QTemporaryDir dir_;
};

// Answers message and input boxes from a script and records what was shown.
class ScriptedPrompter final : public Prompter {
public:
    ScriptedPrompter();
    ~ScriptedPrompter() override;

    std::deque<MsgAnswer> answers;                  // used in order; Ok/No when empty
    std::deque<std::optional<QString>> inputs;      // used in order; cancel when empty
    QList<Message> shown;
    QList<InputRequest> asked;

    MsgAnswer ask(const Message& message) override;
    std::optional<QString> input(const InputRequest& request) override;
};

// Records endProgram() calls instead of ending the test program.
class ProgramEndRecorder {
public:
    ProgramEndRecorder();
    ~ProgramEndRecorder();
    int count = 0;
};

// Runs the event loop for the given time.
void pumpEvents(int ms);

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray& bytes, std::ostream* os) { *os << '"' << bytes.toStdString() << '"'; }

// Makes every file write of this process fail past the given size (as a full disk
// would), also for root, who ignores folder permissions. Restored on destruction.
class FileSizeLimit {
public:
    explicit FileSizeLimit(long long bytes);
    ~FileSizeLimit();

private:
    long long oldSoft_ = 0;
    long long oldHard_ = 0;
};
