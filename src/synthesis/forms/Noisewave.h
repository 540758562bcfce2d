#pragma once
// The random-noise generator: amp times rnd at every point. rnd is never reseeded, so each
// generation continues the sequence.

#include "synthesis/forms/generator.h"

class TNoiseForm : public TGeneratorForm {
    Q_OBJECT
public:
    explicit TNoiseForm(QWidget* parent = nullptr);

protected:
    std::string FormatTemplate() const override;
};

extern TNoiseForm* NoiseForm;
