#pragma once
// What the sample-maths dialogs (scalar, two-waveform arithmetic, resize, smoothing,
// vertical adjustment) have in common: their button rows, the clipping warning, the Start and End fields, and
// the Preview, OK, Cancel and Help of the two arithmetic dialogs.

#include "synthesis/core/sample_maths.h"
#include "synthesis/forms/range_exits.h"
#include "workspace/forms/opdialog.h"

#include <cstdint>
#include <initializer_list>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QString;
class TWFMform;

namespace plotwell::platform {
class NumericField;
}

namespace plotwell::synthesis {

// "The waveform is clipped", once per computation that clipped.
void WarnClipped();

// Whether `field` holds a number the program can hold. When it does not, the number is
// refused as the generator dialogs refuse it: a message names the field, which keeps its
// text as typed and gets the focus.
bool NumberFits(platform::NumericField& field, const QString& fieldName);

// A named push button.
QPushButton* NamedButton(QWidget* parent, const char* name, const char* text);
// The buttons in a row, right-aligned; `enter` is the one Enter presses wherever the focus is.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons, QPushButton* enter);

// The Start and End fields of the dialogs that compute over a range of a window's points:
// digits only, a start capped at the end while it is typed, the exit rules when a field is
// left, and the snapshot put back so that the window shows what the next computation
// starts from.

class RangeFields {
public:
    using ExitRule = synthesis::ExitRule;

    RangeFields(TOperationForm& dialog, QLineEdit* start, QLineEdit* end, ExitRule rule);

    // Activation: LastPoint from the window, and the fields showing the dialog's range.
    void Activate();

    // The range the fields read now, or the dialog's StartPoint and EndPoint, brought
    // within the points by the exit rules. Enter on a default button computes without
    // leaving the field, so nothing reaches a computation unclamped.
    PointRange TypedRange() const;
    PointRange PointsRange() const;

    int32_t LastPoint = 0;

private:
    void putBack();

    TOperationForm& dialog_;
    platform::NumericField* start_;
    platform::NumericField* end_;
    ExitRule rule_;
};

} // namespace plotwell::synthesis

// A dialog that computes from the snapshot on Preview: OK previews and answers 1, Cancel
// answers 2 (the driver puts the snapshot back), Help opens the sample-maths topic. A
// preview that refuses its fields (after its message) keeps the dialog open on OK.
class TPreviewOperationForm : public TOperationForm {
    Q_OBJECT
public:
    TPreviewOperationForm(const char* instanceName, QWidget* parent);

    QPushButton* OK = nullptr;
    QPushButton* Cancel = nullptr;
    QPushButton* Help = nullptr;
    QPushButton* Preview = nullptr;

    // False when the fields were refused and nothing was computed.
    virtual bool PreviewClick() = 0;
    void OKClick();
    void CancelClick();
    void HelpClick();

protected:
    // Preview, OK (Enter), Cancel and Help in a row.
    QHBoxLayout* Buttons();
};
