#pragma once
#include <QString>
#include <functional>
#include <optional>

#include "platform/Prompter.h"

// Asks one input box: the typed text, or nothing when cancelled. The settings dialog
// passes one that shows the box; the editors stay plain logic.
using InputAsker = std::function<std::optional<QString>(const InputRequest& request)>;
