#include "workspace/forms/opdialog.h"

#include "workspace/forms/wfmchild.h"

void TOperationDialog::RestoreSavedSamples() {
    if (!Target || !SavedSamples)
        return;
    const int before = Target->PointCount();
    if (!Target->SampleStream)
        Target->CreateSampleStream();
    *Target->SampleStream = *SavedSamples;
    if (Target->PointCount() != before)
        Target->LengthChanged();
}
