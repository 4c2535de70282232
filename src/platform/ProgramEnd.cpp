#include "platform/ProgramEnd.h"

#include <QCoreApplication>
#include <cstdlib>

namespace {
std::function<void()>& handler() {
    static std::function<void()> h;
    return h;
}
}  // namespace

void endProgram() {
    if (handler()) {
        handler()();
        return;
    }
    // Every file is written whole before anything asks to end, so nothing is pending.
    std::exit(0);
}

void setProgramEndHandler(std::function<void()> h) { handler() = std::move(h); }
