#include "workspace/forms/ProcessCSV.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QVBoxLayout>

using namespace plotwell;

TCSVProcess* CSVProcess = nullptr;

TCSVProcess::TCSVProcess(QWidget* parent) : Form("CSVProcess", parent) {
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setModal(false);
    setWindowTitle(QStringLiteral("Processing CSV File"));
    CSVProgress = platform::named(new QProgressBar(this), "CSVProgress");
    CSVProgress->setRange(0, 100);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CSVProgress);
    resize(300, 50);
}

void TCSVProcess::Start() {
    CSVProgress->setValue(0);
    show();
    CSVProgress->repaint();
}

void TCSVProcess::StepIt() {
    const int next = CSVProgress->value() + 1;
    CSVProgress->setValue(next > 99 ? 0 : next);
    QCoreApplication::processEvents();
}
