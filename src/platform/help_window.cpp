#include "platform/help_window.h"

#include "platform/ui.h"

#include <QFile>

namespace plotwell::platform {

HelpWindow::HelpWindow() {
    setWindowTitle(QString(kAppTitle) + " Help");
    setOpenLinks(true);
    setSearchPaths({":/help"});
    resize(640, 480);
}

HelpWindow& HelpWindow::instance() {
    static HelpWindow* window = new HelpWindow; // lives as long as the application
    return *window;
}

QString HelpWindow::pageFor(int context) {
    QString page = QStringLiteral(":/help/%1.html").arg(context);
    if (context != 0 && QFile::exists(page))
        return page;
    return QStringLiteral(":/help/index.html");
}

void HelpWindow::showTopic(int context) {
    setSource(QUrl("qrc" + pageFor(context)));
    show();
    raise();
    activateWindow();
}

} // namespace plotwell::platform
