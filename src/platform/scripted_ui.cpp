#include "platform/scripted_ui.h"

#include <QDialog>
#include <QMetaObject>
#include <QPrinter>

namespace plotwell::platform {

ScriptedUi::ScriptedUi() {
    previous_ = &ui();
    setUi(this);
}

ScriptedUi::~ScriptedUi() {
    setUi(nullptr);
}

std::vector<std::string> ScriptedUi::messages() const {
    std::vector<std::string> out;
    for (const auto& e : events_)
        if (e.kind == "message")
            out.push_back(e.text);
    return out;
}

std::string ScriptedUi::lastMessage() const {
    for (auto it = events_.rbegin(); it != events_.rend(); ++it)
        if (it->kind == "message")
            return it->text;
    return {};
}

int ScriptedUi::count(const std::string& kind) const {
    int n = 0;
    for (const auto& e : events_)
        n += e.kind == kind;
    return n;
}

void ScriptedUi::clear() {
    events_.clear();
    fileDialogs_.clear();
}

Answer ScriptedUi::message(const std::string& text, Icon icon, unsigned buttons, bool beepFirst) {
    if (beepFirst)
        beep();
    Answer a;
    if (!answers_.empty()) {
        a = answers_.front();
        answers_.pop_front();
    } else if (buttons & ButtonCancel) {
        a = Answer::Cancel; // an unscripted question is answered with its safest button
    } else if (buttons & ButtonNo) {
        a = Answer::No;
    } else {
        a = Answer::Ok;
    }
    events_.push_back({"message", text, icon, buttons, a});
    if (watch_)
        watch_(events_.back());
    return a;
}

Answer ScriptedUi::titledMessage(const std::string& title, const std::string& text, Icon icon,
                                 unsigned buttons) {
    const Answer a = message(text, icon, buttons, false);
    events_.back().title = title;
    return a;
}

bool ScriptedUi::file(const char* kind, FileDialogState& state) {
    fileDialogs_.push_back(state);
    std::optional<std::string> name;
    if (!files_.empty()) {
        name = files_.front();
        files_.pop_front();
    }
    events_.push_back({kind, state.title, Icon::None, 0, name ? Answer::Ok : Answer::Cancel});
    if (!name)
        return false;
    state.fileName = *name;
    return true;
}

bool ScriptedUi::openFile(FileDialogState& state) {
    return file("open", state);
}
bool ScriptedUi::saveFile(FileDialogState& state) {
    return file("save", state);
}

int ScriptedUi::execModal(QDialog& dialog) {
    events_.push_back({"exec", dialog.metaObject()->className(), Icon::None, 0, Answer::None});
    dialog.setResult(0);
    // Showing runs the form's activation as a real modal show would; offscreen it never blocks.
    dialog.show();
    if (!dialogs_.empty()) {
        auto script = std::move(dialogs_.front());
        dialogs_.pop_front();
        script(dialog);
    }
    if (dialog.isVisible())
        dialog.reject();
    dialog.hide();
    return dialog.result();
}

bool ScriptedUi::printerSetup(QPrinter& printer, QWidget*) {
    bool ok = false;
    if (!printer_.empty()) {
        ok = printer_.front();
        printer_.pop_front();
        if (printerChoices_.front())
            printerChoices_.front()(printer);
        printerChoices_.pop_front();
    }
    events_.push_back({"printer", "", Icon::None, 0, ok ? Answer::Ok : Answer::Cancel});
    return ok;
}

void ScriptedUi::showHelp(int context) {
    events_.push_back({"help", std::to_string(context), Icon::None, 0, Answer::None});
}

void ScriptedUi::beep() {
    events_.push_back({"beep", "", Icon::None, 0, Answer::None});
}

} // namespace plotwell::platform
