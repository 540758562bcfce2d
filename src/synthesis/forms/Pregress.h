#pragma once
// The progress window of a generation: a small tool window that stays over the dialog with
// one bar stepped about a hundred times per pass. The frame's driver sets its caption.

#include "platform/form.h"

class QProgressBar;

class TExpPregress : public plotwell::platform::Form {
    Q_OBJECT
public:
    explicit TExpPregress(QWidget* parent = nullptr);

    QProgressBar* ProgressBar1 = nullptr;

    // Shows the window centred on the screen (without taking the focus) with its bar at 0.
    void Start();
    // Advances the bar by one step and repaints it at once: the generation does not
    // return to the event loop while it runs.
    void StepIt();
    // Closes the window.
    void Finish();
    int Position() const;
};

extern TExpPregress* ExpPregress;
