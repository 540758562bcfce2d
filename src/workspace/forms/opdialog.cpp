#include "workspace/forms/opdialog.h"

#include "workspace/forms/wfmchild.h"

void TOperationDialog::TakeSnapshot() {
    if (!Target || !Target->Doc.SampleStream)
        return;
    if (plotwell::workspace::SampleStream* saved = driverFields().SavedSamples)
        *saved = *Target->Doc.SampleStream;
    savedSelectionStart_ = Target->Doc.SelectionStart;
    savedSelectionEnd_ = Target->Doc.SelectionEnd;
}

void TOperationDialog::RestoreSnapshot() {
    const DriverFields f = driverFields();
    if (!Target || !f.SavedSamples || f.SavedSamples->empty())
        return;
    if (!Target->Doc.SampleStream)
        Target->Doc.CreateSampleStream();
    const int before = Target->Doc.PointCount();
    *Target->Doc.SampleStream = *f.SavedSamples;
    if (Target->Doc.PointCount() != before)
        Target->LengthChanged();
}

void TOperationDialog::RevertToSnapshot() {
    if (!Target)
        return;
    RestoreSnapshot();
    Target->Doc.SelectionStart = savedSelectionStart_;
    Target->Doc.SelectionEnd = savedSelectionEnd_;
    Target->Doc.NormaliseSelection();
}
