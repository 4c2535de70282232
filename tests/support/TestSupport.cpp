#include "support/TestSupport.h"

#include <utility>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include "platform/ProgramEnd.h"
#include "state/ProgramFolder.h"

TempProgramFolder::TempProgramFolder() { setProgramFolder(dir_.path()); }
TempProgramFolder::~TempProgramFolder() { setProgramFolder(QString()); }

QString TempProgramFolder::file(const QString& name) const { return dir_.filePath(name); }

void TempProgramFolder::write(const QString& name, const QByteArray& contents) const {
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly)) f.write(contents);
}

QByteArray TempProgramFolder::read(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempProgramFolder::exists(const QString& name) const { return QFile::exists(file(name)); }

ScriptedPrompter::ScriptedPrompter() { setPrompter(this); }
ScriptedPrompter::~ScriptedPrompter() { setPrompter(nullptr); }

MsgAnswer ScriptedPrompter::ask(const Message& message) {
    shown.append(message);
    if (answers.empty()) return message.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    const MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<QString> ScriptedPrompter::input(const InputRequest& request) {
    asked.append(request);
    if (inputs.empty()) return std::nullopt;
    const std::optional<QString> a = std::exchange(inputs.front(), std::nullopt);
    inputs.pop_front();
    return a;
}

ProgramEndRecorder::ProgramEndRecorder() { setProgramEndHandler([this] { ++count; }); }
ProgramEndRecorder::~ProgramEndRecorder() { setProgramEndHandler({}); }

void pumpEvents(int ms) {
    QElapsedTimer t;
    t.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    } while (t.elapsed() < ms);
}

#include <csignal>
#include <sys/resource.h>

FileSizeLimit::FileSizeLimit(long long bytes) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    oldSoft_ = static_cast<long long>(old.rlim_cur);
    oldHard_ = static_cast<long long>(old.rlim_max);
    std::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG instead
    rlimit limit{static_cast<rlim_t>(bytes), old.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit old{static_cast<rlim_t>(oldSoft_), static_cast<rlim_t>(oldHard_)};
    setrlimit(RLIMIT_FSIZE, &old);
}
