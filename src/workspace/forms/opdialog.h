#pragma once
// Base of every dialog that changes a waveform window's samples through one of the frame's
// operation drivers (Plotdesk_drivers.cpp). The driver fills these fields for one request,
// shows the dialog modally, then keeps the dialog's samples (OK with Changed) or puts the
// snapshot back (Cancel, Escape, the close box).
//
// A dialog computes into Target's samples while it is open (its previews) and sets Changed
// when it has written them. It starts every preview from SavedSamples (RestoreSavedSamples).

#include "platform/form.h"
#include "workspace/core/sample_stream.h"

#include <cstdint>
#include <memory>
#include <string>

class TWFMform;

class TOperationDialog : public plotwell::platform::Form {
    Q_OBJECT
public:
    using Form::Form;

    // The window the request acts on (the window whose menu started it).
    TWFMform* Target = nullptr;
    // A copy of Target's samples taken before the show; freed when the dialog has closed.
    std::unique_ptr<plotwell::workspace::SampleStream> SavedSamples;
    // Target's selection, and its mid code R (32768 for normalised data).
    int32_t StartPoint = 0, EndPoint = 0;
    int32_t MidCode = 0;
    // Set when the dialog has written samples; read by the driver after OK.
    int32_t Changed = 0;
    // The expression a generator dialog built last; emptied by its driver.
    std::string GeneratedExpr;

    // Puts SavedSamples back into Target (its length included).
    void RestoreSavedSamples();

    // Hooks of the driver, in the order it calls them. The defaults do nothing.
    // Before the snapshot is taken.
    virtual void DriverBeforeSnapshot() {}
    // After the range and edit steps, just before the show; false ends the request
    // without showing the dialog and leaves the target as it was.
    virtual bool DriverBeforeShow() { return true; }
};
