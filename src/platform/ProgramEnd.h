#pragma once
#include <functional>

// Ends the program at once, as "Exit", a declined agreement or a launch do. Callers
// return straight after the call. Tests install a handler that only records it.
void endProgram();
void setProgramEndHandler(std::function<void()> handler);  // empty restores the default
