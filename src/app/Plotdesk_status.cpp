#include "app/Plotdesk.h"

#include "common/numtext.h"
#include "common/saturate.h"
#include "platform/qstring.h"
#include "workspace/core/sample_stream.h"
#include "workspace/forms/wfmchild.h"

#include <QLabel>

#include <algorithm>
#include <cstdlib>

using namespace plotwell;

namespace {
std::string valueText(bool normalised, float value, bool bitPattern) {
    if (bitPattern)
        return value > 0 ? "High" : "Low";
    if (normalised)
        return common::cformat("Value %+7.5f:", double(value));
    // The value as a 16-bit signed number, truncated toward zero.
    return common::cformat("Value %+5hd:", short(int16_t(common::toInt32(value))));
}

void setLabel(QLabel* l, const std::string& text) {
    l->setText(platform::toQString(text));
    l->adjustSize();
}
} // namespace

void TPWForm1::ShowCursorInfo(const std::string& name, int start, bool normalised, int count,
                              float startValue, float endValue, int end, int bitPattern) {
    if (bitPattern < 0) {
        const TWFMform* w = ActiveWaveWindow();
        bitPattern = w && w->IsBitPattern;
    }
    setLabel(WaveInfo1, common::cformat("   Status %s:", name.c_str()));
    setLabel(WaveInfo2, common::cformat("   Start %d:", start));
    setLabel(WaveInfo3, valueText(normalised, startValue, bitPattern != 0));
    setLabel(WaveInfo4, common::cformat("   End %d:", end));
    setLabel(WaveInfo5, valueText(normalised, endValue, bitPattern != 0));
    setLabel(WaveInfo6, common::cformat("   Length %d:", count));
    // The labels stand at their places unless the text before is too wide for its room
    // (long indices in a wide font); then a label moves right rather than overlap it.
    static constexpr int places[] = {1, 120, 195, 275, 350, 430};
    QLabel* labels[] = {WaveInfo1, WaveInfo2, WaveInfo3, WaveInfo4, WaveInfo5, WaveInfo6};
    int right = 0;
    for (int i = 0; i < 6; ++i) {
        labels[i]->move(std::max(places[i], right), labels[i]->y());
        right = labels[i]->x() + labels[i]->width() + 2;
    }
}

void TPWForm1::ClearCursorInfo() {
    for (QLabel* l : {WaveInfo1, WaveInfo2, WaveInfo3, WaveInfo4, WaveInfo5, WaveInfo6})
        l->clear();
}

int TPWForm1::FindSampleRange() {
    const TWFMform* w = ActiveWaveWindow();
    if (!w || !w->SampleStream || w->PointCount() < 1)
        return 0;
    const workspace::SampleStream& s = *w->SampleStream;
    const int32_t mid = s.midCode();
    SampleMin = mid;
    SampleMax = -mid;
    // Only points that exist are read, whatever the selection says.
    const int first = std::max(w->SelectionStart, 0);
    const int last = std::min(w->SelectionEnd, s.lastIndex());
    for (int i = first; i <= last; ++i) {
        const int32_t v = int32_t(s.code(std::size_t(i))) - mid;
        SampleMax = std::max(SampleMax, v);
        SampleMin = std::min(SampleMin, v);
    }
    return std::abs(SampleMin) < SampleMax ? SampleMax : std::abs(SampleMin);
}
