#pragma once
// The application with one waveform window of 1600 x 500 client pixels, for benchmarks of
// window commands; the scripted UI answers anything modal.

#include "app/Plotdesk.h"
#include "app/appforms.h"
#include "platform/scripted_ui.h"
#include "workspace/forms/wfmchild.h"

#include <QApplication>
#include <QMdiSubWindow>

struct BenchWindow {
    BenchWindow() {
        plotwell::CreateApplicationForms();
        PWForm1->resize(1800, 900);
        PWForm1->show();
        PWForm1->FormActivate();
        PWForm1->New1Click();
        w = CurrentWaveWindow;
        QMdiSubWindow* sw = w->subWindow();
        sw->resize(sw->size() - w->size() + QSize(1600, 500));
        QApplication::processEvents();
    }
    ~BenchWindow() {
        plotwell::DestroyApplicationForms();
        QApplication::processEvents();
    }
    plotwell::platform::ScriptedUi ui;
    TWFMform* w = nullptr;
};
