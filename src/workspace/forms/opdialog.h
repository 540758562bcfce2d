#pragma once
// Base of every dialog that changes a waveform window's samples through one of the frame's
// operation drivers (Plotdesk_drivers.cpp). The driver fills the dialog's fields for one
// request, shows the dialog modally, then keeps the dialog's samples (OK with Changed) or
// puts the snapshot back (Cancel, Escape, the close box).
//
// A dialog computes into Target's samples while it is open (its previews), sets Changed
// when it has written them, and starts every preview from the snapshot (RestoreSnapshot).
// Most dialogs keep the fields in TOperationForm; a dialog that keeps them elsewhere (the
// expression dialog keeps them in its ExpressionContext) says where in driverFields().

#include "platform/form.h"
#include "workspace/core/sample_stream.h"

#include <cstdint>
#include <string>

class TWFMform;

// Where a dialog keeps the fields its driver fills. Null: the dialog has no such field.
struct DriverFields {
    // A copy of Target's samples taken before the show; emptied when the dialog has closed.
    plotwell::workspace::SampleStream* SavedSamples = nullptr;
    // Target's selection, and its mid code R (32768 for normalised data).
    int32_t* StartPoint = nullptr;
    int32_t* EndPoint = nullptr;
    int32_t* MidCode = nullptr;
    // Set when the dialog has written samples; read by the driver after OK.
    int32_t* Changed = nullptr;
    // The expression a generator dialog built last; emptied by its driver.
    std::string* GeneratedExpr = nullptr;
};

class TOperationDialog : public plotwell::platform::Form {
    Q_OBJECT
public:
    using Form::Form;

    // The window the request acts on (the window whose menu started it).
    TWFMform* Target = nullptr;

    virtual DriverFields driverFields() = 0;

    // The driver's snapshot, taken before the show: Target's samples, kept in the dialog's
    // SavedSamples, and Target's selection.
    void TakeSnapshot();
    // Puts the snapshot's samples back into Target (its length included): every preview
    // starts from them.
    void RestoreSnapshot();
    // Cancel: Target as it was before the show, its selection included (removing points
    // pulls the selection in, and the old samples alone would not widen it again).
    void RevertToSnapshot();

    // Hooks of the driver, in the order it calls them. The defaults do nothing.
    // Before the snapshot is taken.
    virtual void DriverBeforeSnapshot() {}
    // After the range and edit steps, just before the show; false ends the request
    // without showing the dialog and leaves the target as it was.
    virtual bool DriverBeforeShow() { return true; }

private:
    int32_t savedSelectionStart_ = 0, savedSelectionEnd_ = 0;
};

// An operation dialog that keeps its driver's fields itself.
class TOperationForm : public TOperationDialog {
public:
    using TOperationDialog::TOperationDialog;

    plotwell::workspace::SampleStream SavedSamples;
    int32_t StartPoint = 0, EndPoint = 0;
    int32_t MidCode = 0;
    int32_t Changed = 0;
    std::string GeneratedExpr;

    DriverFields driverFields() override {
        return {&SavedSamples, &StartPoint, &EndPoint, &MidCode, &Changed, &GeneratedExpr};
    }
};
