#include "workspace/forms/IntroForm.h"

#include "platform/jpeg_image.h"
#include "platform/ui.h"

#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

using plotwell::platform::named;

TIntroForm1* IntroForm1 = nullptr;

namespace {
const char* kStartText = "Arbitrary waveforms and bit patterns for the bench";
const char* kAboutText = "Waveform editor and instrument transfer. Click to close.";
} // namespace

TIntroForm1::TIntroForm1(QWidget* parent) : Form("IntroForm1", parent) {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(489, 266);
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);

    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setStyleSheet("background: white;");
    auto* top = new QVBoxLayout(Panel1);
    Image1 = named(new QLabel(Panel1), "Image1");
    Image1->setAlignment(Qt::AlignCenter);
    QFile file(":/splash.jpg");
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        QImage picture = plotwell::platform::decodeJpeg(
            reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size()));
        if (!picture.isNull())
            Image1->setPixmap(
                QPixmap::fromImage(picture.scaled(469, 170, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    Label1 = named(new QLabel(QString("Plotwell Plus ") + "v4.14", Panel1), "Label1");
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setStyleSheet("color: red; font-weight: bold; font-size: 16pt;");
    top->addWidget(Image1, 1);
    top->addWidget(Label1);
    box->addWidget(Panel1, 1);

    Panel2 = named(new QFrame(this), "Panel2");
    auto* bottom = new QHBoxLayout(Panel2);
    Panel2Text = new QLabel(kStartText, Panel2);
    ExitButton = named(new QPushButton("OK", Panel2), "ExitButton");
    ExitButton->hide();
    bottom->addWidget(Panel2Text, 1);
    bottom->addWidget(ExitButton);
    box->addWidget(Panel2);

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setSingleShot(true);
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &TIntroForm1::Timer1Timer);
    connect(ExitButton, &QPushButton::clicked, this, &TIntroForm1::Timer1Timer);
    for (QWidget* w :
         {static_cast<QWidget*>(Panel1), static_cast<QWidget*>(Panel2), static_cast<QWidget*>(Image1),
          static_cast<QWidget*>(Label1), static_cast<QWidget*>(Panel2Text)})
        w->installEventFilter(this);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Image1->show();
    Timer1->start();
}

void TIntroForm1::Timer1Timer() {
    hide();
}

void TIntroForm1::ShowAbout() {
    Panel2Text->setText(kAboutText);
    ExitButton->show();
    Timer1->stop(); // never fires while the about box is up
    show();
    raise();
    activateWindow();
}

void TIntroForm1::mousePressEvent(QMouseEvent* event) {
    Timer1Timer();
    event->accept();
}

bool TIntroForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        Timer1Timer();
        return true;
    }
    return Form::eventFilter(watched, event);
}
