#pragma once
// "Paste options": pastes the clipboard's numbers into a waveform that holds data, over the
// selection or inserted at one of four places, stretched to the points wanted and scaled by
// an amplitude and an offset. Run by the frame's paste driver, which keeps the snapshot.

#include "workspace/forms/opdialog.h"

#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
namespace plotwell::platform {
class NumericField;
}

class TPasteOptions : public TOperationForm {
    Q_OBJECT
public:
    explicit TPasteOptions(QWidget* parent = nullptr);

    QLineEdit* Start = nullptr;
    QLineEdit* End = nullptr;
    QLineEdit* Amplitude = nullptr;
    QLineEdit* Offset = nullptr;
    QComboBox* PasteType = nullptr;
    QLineEdit* Expand = nullptr;
    QPushButton* bPreview = nullptr;
    QPushButton* bUndo = nullptr;
    QPushButton* bOK = nullptr;
    QPushButton* bCancel = nullptr;
    QLabel* Thumbnail = nullptr;
    QLabel* ClipName = nullptr;

    int32_t SavedStart = 0, SavedEnd = 0;
    int32_t AmplitudeCodes = 0, OffsetCodes = 0;
    int32_t ExpandCount = 0;
    int32_t LastPoint = 0;
    // The clipboard's numbers as normalised samples (reference word 1); filled by
    // LoadClipboardWaveform, freed when the dialog hides.
    plotwell::workspace::SampleStream PasteBuffer;

    // Reads the clipboard's numbers into the paste buffer; false, after its message, when
    // there are fewer than two (or more than a waveform can take).
    bool LoadClipboardWaveform();

    bool DriverBeforeShow() override { return LoadClipboardWaveform(); }

    void PasteTypeChange();
    void bPreviewClick();
    void bUndoClick();
    void bOKClick();
    void bCancelClick();

protected:
    void FormActivate() override;
    void CancelPath() override;
    void hideEvent(QHideEvent* event) override;

private:
    void StartExit();
    void EndExit();
    void AmplitudeExit();
    void OffsetExit();
    void ExpandExit();
    void showExpand();
    // The snapshot back in the target, with the target's selection start..end, redrawn.
    void showSnapshot();
    // The snapshot back in the target, redrawn: what the next preview starts from.
    void putBack();
    void redrawTarget();

    plotwell::platform::NumericField* startField_ = nullptr;
    plotwell::platform::NumericField* endField_ = nullptr;
    plotwell::platform::NumericField* amplitudeField_ = nullptr;
    plotwell::platform::NumericField* offsetField_ = nullptr;
    plotwell::platform::NumericField* expandField_ = nullptr;
};

extern TPasteOptions* PasteOptions;
