#pragma once
#include "platform/ui.h"

#include <memory>

class QFileDialog;
class QMessageBox;

namespace plotwell::platform {

// The real seam: Qt message boxes, non-native file dialogs and QDialog::exec().
class QtUi : public Ui {
public:
    Answer message(const std::string& text, Icon icon, unsigned buttons, bool beep) override;
    Answer titledMessage(const std::string& title, const std::string& text, Icon icon,
                         unsigned buttons) override;
    bool openFile(FileDialogState& state) override;
    bool saveFile(FileDialogState& state) override;
    int execModal(QDialog& dialog) override;
    bool printerSetup(QPrinter& printer, QWidget* parent) override;
    void showHelp(int context) override;
    void beep() override;

    // The box that message() shows, ready to run.
    static std::unique_ptr<QMessageBox> makeMessageBox(const std::string& title, const std::string& text,
                                                       Icon icon, unsigned buttons);
};

// Sets up a file dialog from its state: title, folder, extension, filters and the name.
void prepareFileDialog(QFileDialog& dialog, const FileDialogState& state);

// "Plotwell *.wfm files|*.wfm|All Files *.*|*.*" -> "Plotwell *.wfm files (*.wfm *.WFM);;All Files *.* (*)"
std::string toQtFilter(const std::string& filter);

} // namespace plotwell::platform
