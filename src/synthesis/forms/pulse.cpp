#include "synthesis/forms/pulse.h"

#include "workspace/forms/wfmchild.h"

using plotwell::platform::FieldKind;

TPulseForm* PulseForm = nullptr;

TPulseForm::TPulseForm(QWidget* parent) : TGeneratorForm("PulseForm", "Pulse wave", {}, parent) {
    OffsetCodes = 0;
    Changed = 1;
    hideField(Amplitude);
    hideField(Offset);
    low_ = addField("Low", "Low level", FieldKind::SignedInteger);
    high_ = addField("HighL", "High level", FieldKind::SignedInteger);
    Low = low_->edit();
    HighL = high_->edit();
    low_->onExit = [this] { LowExit(); };
    high_->onExit = [this] { HighLExit(); };
    const std::pair<const char*, const char*> labels[] = {{"Delay", "Delay       %"},
                                                          {"Rise", "Rise time  %"},
                                                          {"HighT", "High time %"},
                                                          {"Fall", "Fall time   %"},
                                                          {"Cycles", "Cycles"}};
    double* values[] = {&Times.delay, &Times.rise, &Times.highTime, &Times.fall, &Times.cycles};
    for (int i = 0; i < 5; ++i)
        times_.emplace_back(addDecimal(labels[i].first, labels[i].second, false, values[i]), values[i]);
    Delay = times_[0].first->edit();
    Rise = times_[1].first->edit();
    HighT = times_[2].first->edit();
    Fall = times_[3].first->edit();
    Cycles = times_[4].first->edit();
}

void TPulseForm::LowExit() {
    exitEdited(low_, [this](int32_t typed) { return LowLevel = typed; });
}

void TPulseForm::HighLExit() {
    exitEdited(high_, [this](int32_t typed) { return HighLevel = typed; });
}

std::string TPulseForm::FormatTemplate() const {
    return plotwell::synthesis::pulseExpression(Times, LowLevel, HighLevel);
}

plotwell::synthesis::PreviewLines TPulseForm::Lines() const {
    return plotwell::synthesis::pulseLines(LowLevel, HighLevel);
}

void TPulseForm::ActivateLevels() {
    if (Target->Zoomed) {
        LowLevel = Target->ViewMin;
        HighLevel = Target->ViewMax;
    } else if (HighLevel == -1) {
        HighLevel = MidCode - 1;
    }
    // The expression computes the codes itself: the generation gets the full scale, offset 0.
    AmplitudeCodes = 2 * MidCode - 1;
}

void TPulseForm::ActivateOwn() {
    low_->show(LowLevel);
    high_->show(HighLevel);
    for (auto& [field, value] : times_)
        field->show(*value);
}

void TPulseForm::DefaultOwn() {
    AmplitudeCodes = 2 * MidCode - 1;
    LowLevel = 0;
    HighLevel = MidCode - 1;
    Times = {};
}

void TPulseForm::OkExits() {
    // Leaving a level field for the button has run its own exit.
    StartExit();
    EndExit();
}
