#include "platform/qt_ui.h"

#include "platform/help_window.h"
#include "platform/qstring.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include <cctype>
#include <vector>

namespace plotwell::platform {

namespace {
Ui* installed = nullptr;

std::vector<std::string> splitBars(const std::string& s) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : s) {
        if (c == '|') {
            parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    parts.push_back(cur);
    return parts;
}

// Patterns on Linux are case-sensitive; instruments and other programs write upper case too.
std::string withUpperCase(const std::string& patterns) {
    std::string out;
    std::string cur;
    auto flush = [&] {
        if (cur.empty())
            return;
        if (!out.empty())
            out += ' ';
        if (cur == "*.*") {
            out += "*";
        } else {
            out += cur;
            std::string up = cur;
            for (char& ch : up)
                ch = char(std::toupper(static_cast<unsigned char>(ch)));
            if (up != cur)
                out += ' ' + up;
        }
        cur.clear();
    };
    for (char c : patterns) {
        if (c == ';' || c == ' ')
            flush();
        else
            cur += c;
    }
    flush();
    return out;
}

} // namespace

void prepareFileDialog(QFileDialog& dlg, const FileDialogState& st) {
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    // The descriptions are shown as the program writes them; the patterns Qt needs behind
    // them (with their upper-case twins) stay out of sight.
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    dlg.setWindowTitle(toQString(st.title));
    dlg.setDirectory(toQString(st.initialDir));
    dlg.setDefaultSuffix(toQString(st.defaultExt));
    const QStringList filters = toQString(toQtFilter(st.filter)).split(";;", Qt::SkipEmptyParts);
    dlg.setNameFilters(filters);
    if (st.filterIndex >= 1 && st.filterIndex <= filters.size())
        dlg.selectNameFilter(filters[st.filterIndex - 1]);
    if (!st.fileName.empty())
        dlg.selectFile(toQString(st.fileName));
}

std::string toQtFilter(const std::string& filter) {
    auto parts = splitBars(filter);
    std::string out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (!out.empty())
            out += ";;";
        out += parts[i] + " (" + withUpperCase(parts[i + 1]) + ")";
    }
    return out;
}

Ui& ui() {
    static QtUi real;
    return installed ? *installed : real;
}

void setUi(Ui* seam) {
    installed = seam;
}

Answer QtUi::message(const std::string& text, Icon icon, unsigned buttons, bool beepFirst) {
    if (beepFirst)
        beep();
    return titledMessage(kAppTitle, text, icon, buttons);
}

namespace {
// A window of ours that is kept above the others: the splash at start-up, the progress and
// transfer status windows.
bool stayOnTopShown() {
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && (w->windowFlags() & Qt::WindowStaysOnTopHint))
            return true;
    return false;
}
} // namespace

std::unique_ptr<QMessageBox> QtUi::makeMessageBox(const std::string& title, const std::string& text,
                                                  Icon icon, unsigned buttons) {
    auto box = std::make_unique<QMessageBox>(QApplication::activeWindow());
    box->setWindowTitle(toQString(title));
    box->setTextFormat(Qt::PlainText);
    box->setText(toQString(text));
    switch (icon) {
    case Icon::Error:
        box->setIcon(QMessageBox::Critical);
        break;
    case Icon::Warning:
        box->setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        box->setIcon(QMessageBox::Information);
        break;
    case Icon::Question:
        box->setIcon(QMessageBox::Question);
        break;
    case Icon::None:
        break;
    }
    QMessageBox::StandardButtons sb;
    if (buttons & ButtonOk)
        sb |= QMessageBox::Ok;
    if (buttons & ButtonYes)
        sb |= QMessageBox::Yes;
    if (buttons & ButtonNo)
        sb |= QMessageBox::No;
    if (buttons & ButtonCancel)
        sb |= QMessageBox::Cancel;
    box->setStandardButtons(sb);
    // A box holds the input until it is answered, so it must never stand behind a window
    // that stays on top.
    if (stayOnTopShown())
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
    return box;
}

namespace {
// A box waits for the user: it shows the normal pointer even while the work that raised it
// holds the busy one, which comes back when the box is answered.
class NormalPointerWhileOpen {
public:
    NormalPointerWhileOpen() : pushed_(QGuiApplication::overrideCursor() != nullptr) {
        if (pushed_)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalPointerWhileOpen() {
        if (pushed_)
            QGuiApplication::restoreOverrideCursor();
    }
    NormalPointerWhileOpen(const NormalPointerWhileOpen&) = delete;
    NormalPointerWhileOpen& operator=(const NormalPointerWhileOpen&) = delete;

private:
    bool pushed_;
};
} // namespace

Answer QtUi::titledMessage(const std::string& title, const std::string& text, Icon icon, unsigned buttons) {
    const auto box = makeMessageBox(title, text, icon, buttons);
    const NormalPointerWhileOpen pointer;
    switch (box->exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        return (buttons & ButtonCancel) ? Answer::Cancel : Answer::Ok;
    }
}

bool QtUi::openFile(FileDialogState& st) {
    QFileDialog dlg(QApplication::activeWindow());
    prepareFileDialog(dlg, st);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(st.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return false;
    st.fileName = dlg.selectedFiles().front().toStdString();
    return true;
}

bool QtUi::saveFile(FileDialogState& st) {
    QFileDialog dlg(QApplication::activeWindow());
    prepareFileDialog(dlg, st);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !st.overwritePrompt);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return false;
    st.fileName = dlg.selectedFiles().front().toStdString();
    return true;
}

int QtUi::execModal(QDialog& dialog) {
    return dialog.exec();
}

bool QtUi::printerSetup(QPrinter& printer, QWidget* parent) {
    // The print dialog chooses the printer (or a PDF file) and the orientation.
    QPrintDialog dlg(&printer, parent);
    return dlg.exec() == QDialog::Accepted;
}

void QtUi::showHelp(int context) {
    HelpWindow::instance().showTopic(context);
}

void QtUi::beep() {
    QApplication::beep();
}

} // namespace plotwell::platform
