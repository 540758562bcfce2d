#include "transfer/forms/msgwnd.h"

#include "platform/qstring.h"
#include "workspace/forms/frame_host.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>

using namespace plotwell;

TMessageWnd* MessageWnd = nullptr;

namespace {
constexpr int kWidth = 270;
} // namespace

TMessageWnd::TMessageWnd(QWidget* parent) : Form("MessageWnd", parent) {
    setWindowTitle(QStringLiteral("Plotwell"));
    // A dialog border without border icons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setModal(false);
    setFixedSize(kWidth, kHeightPlain);

    Image1 = platform::named(new QLabel(this), "Image1");
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    Image1->setGeometry(8, 8, 32, 32);
    Panel1 = platform::named(new QLabel(this), "Panel1");
    Panel1->setTextFormat(Qt::PlainText);
    Panel1->setWordWrap(true);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setGeometry(48, 4, kWidth - 56, 56);
    bnCancel = platform::named(new QPushButton(QStringLiteral("Cancel"), this), "bnCancel");
    bnCancel->setGeometry((kWidth - 75) / 2, 62, 75, 25);
    bnCancel->hide();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);

    connect(bnCancel, &QPushButton::clicked, this, &TMessageWnd::bnCancelClick);
    connect(Timer1, &QTimer::timeout, this, &TMessageWnd::Timer1Timer);
}

void TMessageWnd::SetStayOnTop() {
    if (windowFlags() & Qt::WindowStaysOnTopHint)
        return;
    // Changing the flags hides a shown window; it comes back as it was.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (shown)
        show();
}

void TMessageWnd::ShowStatus(int intervalMs, const std::string& text, bool withCancel) {
    Panel1->setText(platform::toQString(text));
    Cancelled = false;
    if (withCancel) {
        SetStayOnTop();
        setFixedHeight(kHeightWithCancel);
        bnCancel->show();
    } else {
        setFixedHeight(kHeightPlain);
        bnCancel->hide();
    }
    if (!isVisible()) {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    show();
    // Above the frame, without belonging to it.
    if (FrameHost && windowHandle() && FrameHost->FrameWidget()->windowHandle())
        windowHandle()->setTransientParent(FrameHost->FrameWidget()->windowHandle());
    raise();
    repaint();
    // The caller blocks right after this: let the window system show the text now, but
    // run neither the user's input nor timers (a transfer tick must not re-enter).
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers);
    if (intervalMs > 0) {
        Timer1->start(intervalMs);
    } else {
        Timer1->stop();
    }
}

void TMessageWnd::Timer1Timer() {
    hide();
    Timer1->stop();
}

void TMessageWnd::bnCancelClick() {
    Cancelled = true;
}

void TMessageWnd::reject() {
    if (bnCancel->isVisible())
        bnCancelClick();
}
