#include "FuzzSupport.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "platform/ProgramEnd.h"
#include "platform/Prompter.h"
#include "state/ProgramFolder.h"

namespace {
class AnsweringPrompter final : public Prompter {
public:
    bool no = false;
    MsgAnswer ask(const Message& m) override {
        if (m.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
        return no ? MsgAnswer::No : MsgAnswer::Yes;
    }
    std::optional<QString> input(const InputRequest&) override { return QStringLiteral("x"); }
};

AnsweringPrompter answers;
QTemporaryDir* folder = nullptr;
}  // namespace

void fuzzSetUp() {
    if (folder) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    // Memory-backed when the machine has it: every save syncs to disk, which would
    // otherwise bound the runs to a few a second.
    const QString shm = QStringLiteral("/dev/shm");
    folder = QFile::exists(shm) ? new QTemporaryDir(shm + QStringLiteral("/vyrn-fuzz-XXXXXX"))
                                : new QTemporaryDir;
    setProgramFolder(folder->path());
    setPrompter(&answers);
    setProgramEndHandler([] {});
}

QString fuzzFolder() { return folder->path(); }

void fuzzWriteFile(const QString& name, const uint8_t* data, size_t size) {
    QFile f(programFile(name));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char*>(data), qint64(size));
}

void fuzzAnswerNo(bool no) { answers.no = no; }
