#include "synthesis/forms/vertical.h"

#include "synthesis/core/sample_maths.h"
#include "synthesis/forms/maths_dialogs.h"
#include "workspace/forms/wfmchild.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

using namespace plotwell;

TVertForm* VertForm = nullptr;

namespace {
// The amplitude bar's ends: x6 at the top, x1/21 at the bottom.
constexpr int kAmplitudeEnd = 1000;
} // namespace

TVertForm::TVertForm(QWidget* parent) : TOperationForm("VertForm", parent) {
    setWindowTitle("Vertical adjust");
    auto* grid = new QGridLayout(this);
    auto bar = [this](const char* name) {
        auto* b = new QScrollBar(Qt::Vertical, this);
        platform::nameInput(b, name);
        b->setMinimumHeight(160);
        return b;
    };
    // A vertical bar has its minimum at the top, so moving a thumb up gives negative positions.
    Offset = bar("Offset");
    Amplitude = bar("Amplitude");
    Amplitude->setRange(-kAmplitudeEnd, kAmplitudeEnd);
    Amplitude->setPageStep(kAmplitudeEnd);
    Amplitude->setSingleStep(1);
    Amplitude->setValue(0);
    auto label = [this](const char* name, const char* text) {
        auto* l = platform::named(new QLabel(QString::fromLatin1(text), this), name);
        l->setAlignment(Qt::AlignCenter);
        return l;
    };
    Label1 = label("Label1", "Offset");
    Label2 = label("Label2", "Amplitude");
    Label3 = label("Label3", "positive");
    Label4 = label("Label4", "negative");
    Label5 = label("Label5", "increase");
    Label6 = label("Label6", "decrease");
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(Label5, 1, 1);
    grid->addWidget(Offset, 2, 0, Qt::AlignHCenter);
    grid->addWidget(Amplitude, 2, 1, Qt::AlignHCenter);
    grid->addWidget(Label4, 3, 0);
    grid->addWidget(Label6, 3, 1);

    Invert = synthesis::NamedButton(this, "Invert", "Invert");
    OK = synthesis::NamedButton(this, "OK", "OK");
    Cancel = synthesis::NamedButton(this, "Cancel", "Cancel");
    grid->addLayout(synthesis::ButtonRow({Invert, OK, Cancel}, OK), 4, 0, 1, 2);
    connect(Offset, &QScrollBar::valueChanged, this, &TVertForm::OffsetChange);
    connect(Amplitude, &QScrollBar::valueChanged, this, &TVertForm::AmplitudeChange);
    connect(Invert, &QPushButton::clicked, this, &TVertForm::InvertClick);
    connect(OK, &QPushButton::clicked, this, &TVertForm::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &TVertForm::CancelClick);
}

bool TVertForm::DriverBeforeShow() {
    if (Target) {
        PointCount = Target->Doc.SelectionEnd + 1 - Target->Doc.SelectionStart;
        const int32_t max = synthesis::VerticalOffsetLimit(SavedSamples.midCode());
        Offset->setRange(-max, max);
        Offset->setPageStep(max / 10);
        Offset->setSingleStep(1);
    }
    Inverted = false;
    showOffsetEnds();
    // Hidden, so these recompute nothing.
    Offset->setValue(0);
    Amplitude->setValue(0);
    Changed = 0;
    return true;
}

void TVertForm::showOffsetEnds() {
    Label3->setText(Inverted ? "negative" : "positive");
    Label4->setText(Inverted ? "positive" : "negative");
}

void TVertForm::ApplyAdjustment() {
    // Only while the dialog is open: the driver's resets and a closing dialog compute nothing.
    if (!isVisible() || !Target || !Target->Doc.SampleStream || !SavedSamples.hasPoints())
        return;
    const auto before = SavedSamples.codes();
    const auto after = Target->Doc.SampleStream->codes();
    const size_t first = size_t(std::max(Target->Doc.SelectionStart, 0));
    if (first >= before.size() || first >= after.size() || PointCount < 1)
        return;
    const size_t count = std::min({size_t(PointCount), before.size() - first, after.size() - first});
    synthesis::AdjustVertical(before.subspan(first, count), after.subspan(first, count),
                              SavedSamples.midCode(), {Amplitude->value(), Offset->value(), Inverted});
    Changed = 1;
    Target->ShowChangedSamples();
}

void TVertForm::OffsetChange() {
    ApplyAdjustment();
}
void TVertForm::AmplitudeChange() {
    ApplyAdjustment();
}

void TVertForm::InvertClick() {
    Inverted = !Inverted;
    showOffsetEnds();
    ApplyAdjustment();
}

void TVertForm::OKClick() {
    setModalResult(platform::mrOk);
}
void TVertForm::CancelClick() {
    setModalResult(platform::mrCancel);
}
