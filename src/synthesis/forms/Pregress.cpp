#include "synthesis/forms/Pregress.h"

#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

using namespace plotwell;

TExpPregress* ExpPregress = nullptr;

TExpPregress::TExpPregress(QWidget* parent) : Form("ExpPregress", parent) {
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    ProgressBar1 = platform::named(new QProgressBar(this), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar1);
    resize(300, 50);
}

void TExpPregress::Start() {
    ProgressBar1->setValue(0);
    if (!isVisible()) {
        // In the middle of the screen, whatever window the generation writes.
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        show();
    }
    ProgressBar1->repaint();
}

void TExpPregress::StepIt() {
    // Like the framework's step: past the end the bar starts again from 0.
    const int next = ProgressBar1->value() + 1;
    ProgressBar1->setValue(next > ProgressBar1->maximum() ? 0 : next);
    ProgressBar1->repaint();
}

void TExpPregress::Finish() {
    hide();
}

int TExpPregress::Position() const {
    return ProgressBar1->value();
}
