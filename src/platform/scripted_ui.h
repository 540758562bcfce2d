#pragma once
// A UI seam for tests and benchmarks: it records every text shown, in order, and answers
// from a script instead of blocking on a modal window.

#include "platform/ui.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace plotwell::platform {

struct UiEvent {
    std::string kind; // "message", "open", "save", "exec", "printer", "help", "beep"
    std::string text; // message text, dialog title, dialog class name, help context
    Icon icon = Icon::None;
    unsigned buttons = 0;
    Answer answer = Answer::None;
    std::string title = {}; // message boxes with a title of their own
};

class ScriptedUi : public Ui {
public:
    using DialogScript = std::function<void(QDialog&)>;

    ScriptedUi();
    ~ScriptedUi() override;

    // Script: answers to message boxes, file names for file dialogs (nullopt cancels),
    // and actions for modal dialogs (they set fields and click a button). A dialog with
    // no script left is cancelled through its reject() path.
    void answer(Answer a) { answers_.push_back(a); }
    void chooseFile(std::optional<std::string> name) { files_.push_back(std::move(name)); }
    void onDialog(DialogScript script) { dialogs_.push_back(std::move(script)); }
    // The printer set-up's answer; `choose` stands for what the user picks in it (the
    // orientation, an output file).
    void printerAnswer(bool ok, std::function<void(QPrinter&)> choose = {}) {
        printer_.push_back(ok);
        printerChoices_.push_back(std::move(choose));
    }
    // Runs at the moment a message box is shown, before it is answered: for looking at the
    // screen as the user sees it then (which windows are up, which are in front).
    void onMessage(std::function<void(const UiEvent&)> watch) { watch_ = std::move(watch); }

    const std::vector<UiEvent>& events() const { return events_; }
    std::vector<std::string> messages() const; // texts of the message boxes, in order
    std::string lastMessage() const;
    int count(const std::string& kind) const;
    void clear();
    // File dialog states as they were when shown, for checking their set-up.
    const std::vector<FileDialogState>& fileDialogs() const { return fileDialogs_; }
    bool scriptUsedUp() const { return answers_.empty() && files_.empty() && dialogs_.empty(); }

    Answer message(const std::string& text, Icon icon, unsigned buttons, bool beep) override;
    Answer titledMessage(const std::string& title, const std::string& text, Icon icon,
                         unsigned buttons) override;
    bool openFile(FileDialogState& state) override;
    bool saveFile(FileDialogState& state) override;
    int execModal(QDialog& dialog) override;
    bool printerSetup(QPrinter& printer, QWidget* parent) override;
    void showHelp(int context) override;
    void beep() override;

private:
    bool file(const char* kind, FileDialogState& state);

    std::deque<Answer> answers_;
    std::deque<std::optional<std::string>> files_;
    std::deque<DialogScript> dialogs_;
    std::deque<bool> printer_;
    std::deque<std::function<void(QPrinter&)>> printerChoices_;
    std::vector<UiEvent> events_;
    std::vector<FileDialogState> fileDialogs_;
    std::function<void(const UiEvent&)> watch_;
    Ui* previous_ = nullptr;
};

} // namespace plotwell::platform
