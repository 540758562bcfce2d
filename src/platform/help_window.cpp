#include "platform/help_window.h"

#include "platform/ui.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QScreen>

namespace plotwell::platform {

HelpWindow::HelpWindow() {
    setWindowTitle(QString(kAppTitle) + " Help");
    setOpenLinks(true);
    setSearchPaths({":/help"});
    resize(640, 480);
}

HelpWindow& HelpWindow::instance() {
    // Lives as long as the application, unless a dialog it belonged to took it along.
    static QPointer<HelpWindow> window;
    if (!window)
        window = new HelpWindow;
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
    const bool wasShown = isVisible();
    // A modal dialog blocks every window but its own, and its own stand in front of it: help
    // asked for from a dialog belongs to that dialog while it is open.
    belongTo(QApplication::activeModalWidget());
    if (!wasShown) {
        // Over the window the user is looking at, not at the screen's corner.
        const QWidget* over = owner_ ? owner_.data() : QApplication::activeWindow();
        QRect r(QPoint(), size());
        r.moveCenter(over ? over->frameGeometry().center() : QPoint(r.width() / 2, r.height() / 2));
        if (const QScreen* screen = over ? over->screen() : QGuiApplication::primaryScreen()) {
            const QRect avail = screen->availableGeometry();
            r.moveLeft(std::clamp(r.left(), avail.left(), std::max(avail.left(), avail.right() - r.width())));
            r.moveTop(std::clamp(r.top(), avail.top(), std::max(avail.top(), avail.bottom() - r.height())));
        }
        move(r.topLeft());
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::belongTo(QWidget* owner) {
    if (owner == owner_ && parentWidget() == owner)
        return;
    if (owner_)
        owner_->removeEventFilter(this);
    const bool shown = isVisible();
    const QPoint at = pos();
    setParent(owner, Qt::Window); // hides the window
    move(at);
    owner_ = owner;
    if (owner)
        owner->installEventFilter(this);
    if (shown)
        show();
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
    // The dialog has ended: the help stays open, on its own.
    if (watched == owner_ && event->type() == QEvent::Hide)
        belongTo(nullptr);
    return QTextBrowser::eventFilter(watched, event);
}

} // namespace plotwell::platform
