#pragma once
// The user-interface seam: every message box, question, file dialog, printer set-up,
// help request and modal dialog of the program goes through ui(). The program installs
// QtUi; tests install ScriptedUi, which records the texts and answers from a script.

#include <string>

class QDialog;
class QPrinter;
class QWidget;

namespace plotwell::platform {

// The application title, used as the title of every message box.
inline constexpr const char* kAppTitle = "Plotwell v4.14";

enum class Icon { None, Error, Warning, Information, Question };

// Buttons of a message box; values combine.
enum Buttons : unsigned {
    ButtonOk = 1u << 0,
    ButtonCancel = 1u << 1,
    ButtonYes = 1u << 2,
    ButtonNo = 1u << 3,
    ButtonsYesNoCancel = ButtonYes | ButtonNo | ButtonCancel,
    ButtonsYesNo = ButtonYes | ButtonNo,
    ButtonsOkCancel = ButtonOk | ButtonCancel,
};

// Answers keep the framework's numbers so they can be compared with modal results.
enum class Answer { None = 0, Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// State of a file open or save dialog. The filter keeps the "desc|*.ext|desc|*.*" form;
// the real dialog converts it. One state object per dialog persists between uses, so that
// "leave the dialog as it was" is meaningful.
struct FileDialogState {
    std::string title;
    std::string filter;
    std::string initialDir;
    std::string defaultExt;
    std::string fileName;
    int filterIndex = 1;
    bool overwritePrompt = false;
    bool fileMustExist = false;
};

class Ui {
public:
    virtual ~Ui() = default;
    // A message box titled with the application title. `beep` sounds before it shows.
    virtual Answer message(const std::string& text, Icon icon, unsigned buttons, bool beep) = 0;
    // A message box with a title of its own (the system's error text is shown that way).
    // A seam that has no titles shows the plain box.
    virtual Answer titledMessage([[maybe_unused]] const std::string& title, const std::string& text,
                                 Icon icon, unsigned buttons) {
        return message(text, icon, buttons, false);
    }
    virtual bool openFile(FileDialogState& state) = 0;
    virtual bool saveFile(FileDialogState& state) = 0;
    // Shows `dialog` modally and returns its modal result.
    virtual int execModal(QDialog& dialog) = 0;
    virtual bool printerSetup(QPrinter& printer, QWidget* parent) = 0;
    // Opens the help at a context number; 0 opens the contents.
    virtual void showHelp(int context) = 0;
    virtual void beep() = 0;
};

Ui& ui();
// Installs a seam (not owned); nullptr goes back to the real one.
void setUi(Ui* seam);

// Shorthands for the common boxes.
inline void errorBox(const std::string& text, bool beepFirst = true) {
    ui().message(text, Icon::Error, ButtonOk, beepFirst);
}
inline Answer askYesNoCancel(const std::string& text) {
    return ui().message(text, Icon::Question, ButtonsYesNoCancel, false);
}

} // namespace plotwell::platform
