#include "platform/Prompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {
class QtPrompter final : public Prompter {
public:
    MsgAnswer ask(const Message& m) override {
        QMessageBox box(iconOf(m.icon), m.title, m.text, buttonsOf(m.buttons),
                        QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText);  // the text may hold a server's or a file's words
        if (m.defaultButton) box.setDefaultButton(buttonOf(*m.defaultButton));
        switch (box.exec()) {
            case QMessageBox::Yes: return MsgAnswer::Yes;
            case QMessageBox::No: return MsgAnswer::No;
            case QMessageBox::Cancel: return MsgAnswer::Cancel;
            default: return m.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
        }
    }

    std::optional<QString> input(const InputRequest& r) override {
        bool ok = false;
        const QString text = QInputDialog::getText(QApplication::activeWindow(), r.title, r.prompt,
                                                   QLineEdit::Normal, r.defaultText, &ok);
        if (!ok) return std::nullopt;
        return text;
    }

private:
    static QMessageBox::Icon iconOf(MsgIcon icon) {
        switch (icon) {
            case MsgIcon::Critical: return QMessageBox::Critical;
            case MsgIcon::Question: return QMessageBox::Question;
            case MsgIcon::Exclamation: return QMessageBox::Warning;
            case MsgIcon::Information: return QMessageBox::Information;
            case MsgIcon::None: break;
        }
        return QMessageBox::NoIcon;
    }
    static QMessageBox::StandardButton buttonOf(MsgAnswer answer) {
        switch (answer) {
            case MsgAnswer::Cancel: return QMessageBox::Cancel;
            case MsgAnswer::Yes: return QMessageBox::Yes;
            case MsgAnswer::No: return QMessageBox::No;
            case MsgAnswer::Ok: break;
        }
        return QMessageBox::Ok;
    }
    static QMessageBox::StandardButtons buttonsOf(MsgButtons buttons) {
        switch (buttons) {
            case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
            case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
            case MsgButtons::YesNoCancel:
                return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            case MsgButtons::Ok: break;
        }
        return QMessageBox::Ok;
    }
};

Prompter* installed = nullptr;
}  // namespace

Prompter& prompter() {
    static QtPrompter qtPrompter;
    return installed ? *installed : qtPrompter;
}

void setPrompter(Prompter* replacement) { installed = replacement; }
