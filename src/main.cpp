// Plotwell: arbitrary waveforms and bit patterns, and their transfer to and from instruments.

#include "app/Plotdesk.h"
#include "app/appforms.h"
#include "platform/posix/numeric_locale.h"
#include "platform/ui.h"
#include "workspace/forms/IntroForm.h"

#include <QApplication>
#include <QIcon>

#include <exception>

namespace {
// An exception that escapes an event handler is shown, and the program goes on.
class Application : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            plotwell::platform::errorBox(e.what(), false);
        } catch (...) {
            plotwell::platform::errorBox("Unexpected error", false);
        }
        return false;
    }
};
} // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    plotwell::platform::useCNumericLocale();
    QApplication::setApplicationName(plotwell::platform::kAppTitle);
    QApplication::setQuitOnLastWindowClosed(false);
    plotwell::CreateApplicationForms();
    QApplication::setWindowIcon(QIcon(":/icon.png"));
    PWForm1->show();
    IntroForm1->show();
    IntroForm1->raise();
    app.exec();
    plotwell::DestroyApplicationForms();
    return 0;
}
