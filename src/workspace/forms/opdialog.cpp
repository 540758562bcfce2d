#include "workspace/forms/opdialog.h"

#include "workspace/forms/wfmchild.h"

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
