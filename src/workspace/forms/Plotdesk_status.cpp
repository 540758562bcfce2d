#include "workspace/forms/Plotdesk.h"

#include "workspace/forms/wfmchild.h"

#include <QLabel>

#include <algorithm>
#include <cstdlib>

void TPWForm1::ShowCursorInfo(const std::string&, int, bool, int, float, float, int) {}

void TPWForm1::ClearCursorInfo() {
    for (QLabel* l : {WaveInfo1, WaveInfo2, WaveInfo3, WaveInfo4, WaveInfo5, WaveInfo6})
        l->clear();
}

int TPWForm1::FindSampleRange() {
    TWFMform* w = ActiveWaveWindow();
    if (!w || w->PointCount() < 1)
        return 0;
    const auto& s = *w->SampleStream;
    const int32_t mid = s.midCode();
    SampleMin = mid;
    SampleMax = -mid;
    const int32_t first = std::max(w->SelectionStart, 0);
    const int32_t last = std::min(w->SelectionEnd, s.lastIndex());
    if (last < first)
        return mid;
    for (int32_t i = first; i <= last; ++i) {
        const int32_t v = s.value(size_t(i));
        if (v > SampleMax)
            SampleMax = v;
        if (v < SampleMin)
            SampleMin = v;
    }
    return std::abs(SampleMin) < SampleMax ? SampleMax : std::abs(SampleMin);
}
