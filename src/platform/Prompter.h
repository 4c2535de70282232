#pragma once
#include <QString>
#include <optional>

// Message boxes and input boxes all pass through one Prompter, so tests can answer
// them without a screen. Their texts are shown as plain text, never as markup.

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// Title of every message box that names none of its own.
inline const QString kAppTitle = QStringLiteral("VYRN v3.0");

struct Message {
    QString text;
    MsgIcon icon = MsgIcon::None;
    QString title = kAppTitle;
    MsgButtons buttons = MsgButtons::Ok;
    // The button Enter presses; nothing for the box's usual one (Yes, OK).
    std::optional<MsgAnswer> defaultButton = std::nullopt;
};

struct InputRequest {
    QString prompt;
    QString title = kAppTitle;
    QString defaultText;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual MsgAnswer ask(const Message& message) = 0;
    // The typed text, or nothing when the user cancelled.
    virtual std::optional<QString> input(const InputRequest& request) = 0;
};

// The program's prompter: Qt dialogs unless a test installed its own.
Prompter& prompter();
// Installs a prompter (nullptr restores the Qt one); the caller keeps ownership.
void setPrompter(Prompter* replacement);
