#include "transfer/forms/msgwnd.h"

#include <QLabel>
#include <QTimer>

TMessageWnd* MessageWnd = nullptr;

TMessageWnd::TMessageWnd(QWidget* parent) : Form("MessageWnd", parent) {}

void TMessageWnd::SetStayOnTop() { setWindowFlag(Qt::WindowStaysOnTopHint, true); }

void TMessageWnd::ShowStatus(int interval, const std::string& text, bool withCancel) {
    (void)withCancel;
    auto* panel = findChild<QLabel*>("Panel1");
    if (!panel) {
        panel = plotwell::platform::named(new QLabel(this), "Panel1");
        panel->setTextFormat(Qt::PlainText);
        panel->setGeometry(8, 8, 254, 50);
    }
    panel->setText(QString::fromStdString(text));
    show();
    raise();
    repaint();
    if (interval > 0)
        QTimer::singleShot(interval, this, &QWidget::hide);
}
