#pragma once
// The progress window of a CSV import: it stays over the import dialog while a column is
// converted, its caption naming the pass.

#include "platform/form.h"

class QProgressBar;

class TCSVProcess : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TCSVProcess(QWidget* parent = nullptr);

    QProgressBar* CSVProgress = nullptr;

    // Shows the window with its bar at 0.
    void Start();
    // One step of the bar (back to 0 past 99); the message loop runs once so that the
    // window stays live.
    void StepIt();
};

extern TCSVProcess* CSVProcess;
