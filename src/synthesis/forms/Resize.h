#pragma once
// The resize dialog: gives a whole waveform a new number of points, resampling the samples
// as they were when the dialog opened.
#include "workspace/forms/opdialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace plotwell::platform {
class NumericField;
}

class TResizeForm : public TOperationForm {
    Q_OBJECT
public:
    explicit TResizeForm(QWidget* parent = nullptr);

    int32_t OldLength = 0;
    int32_t NewLength = 0;

    // ---- components -----------------------------------------------------------------
    QLineEdit* NewLen = nullptr;
    QLineEdit* OldLen = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QPushButton* BOk = nullptr;
    QPushButton* BCancel = nullptr;
    QPushButton* BPreview = nullptr;

    // Resamples the snapshot to NewLength points into the window. False, with a message and
    // the window untouched, for a length the window cannot hold.
    bool ResizeWaveform();
    void NewLenKeyUp();
    void BPreviewClick();
    void BOkClick();
    void BCancelClick();

protected:
    void FormActivate() override;

private:
    plotwell::platform::NumericField* newLenField_ = nullptr;
};

extern TResizeForm* ResizeForm;
