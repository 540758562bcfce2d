#include "workspace/forms/opdialog.h"

#include "workspace/forms/wfmchild.h"

void TOperationDialog::RestoreSnapshot() {
    const DriverFields f = driverFields();
    if (!Target || !f.SavedSamples || f.SavedSamples->empty())
        return;
    if (!Target->SampleStream)
        Target->CreateSampleStream();
    const int before = Target->PointCount();
    *Target->SampleStream = *f.SavedSamples;
    if (Target->PointCount() != before)
        Target->LengthChanged();
}
