#pragma once
// The new-waveform set-up: the title, amplitude and length of a new waveform or bit
// pattern. It only collects and checks them; the frame's NewWaveformSetup creates the
// samples. It acts on CurrentWaveWindow, which the command made its target.

#include "platform/form.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace plotwell::platform {
class NumericField;
}

class TWaveSetup : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TWaveSetup(QWidget* parent = nullptr);

    // The dialog's results, read by the driver.
    int Length = 0;    // number of points
    int Amplitude = 0; // peak-to-peak amplitude in codes
    int Reference = 0; // the reference word R of the new waveform

    QLineEdit* WfmTitle = nullptr;
    QLineEdit* WfmAmpl = nullptr;
    QLineEdit* WfmLen = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
    QPushButton* BOk = nullptr;
    QPushButton* BCancel = nullptr;

    // `numberKey`: the released key was a digit or backspace.
    void WfmAmplKeyUp(bool numberKey);
    void WfmLenKeyUp(bool numberKey);
    void BOkClick();
    void BCancelClick();

    // The key-release rule of the two number fields: after a digit or backspace a non-zero
    // number is kept; the text is then rewritten from the kept value, except after a digit
    // or backspace that left 0 (or nothing), which stays as typed.
    struct KeyUpResult {
        int stored;
        std::string text;
    };
    static KeyUpResult KeyUpRule(const std::string& text, bool digitOrBackspace, int stored);

protected:
    void FormActivate() override;
    void CancelPath() override;

private:
    // True when the set-up is for a bit pattern.
    bool patternRequested() const;

    plotwell::platform::NumericField* amplField_ = nullptr;
    plotwell::platform::NumericField* lenField_ = nullptr;
};

extern TWaveSetup* WaveSetup;
