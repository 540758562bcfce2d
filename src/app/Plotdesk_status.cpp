#include "app/Plotdesk.h"

#include "common/numtext.h"
#include "common/saturate.h"
#include "platform/qstring.h"
#include "workspace/core/label_row.h"
#include "workspace/core/sample_stream.h"
#include "workspace/forms/wfmchild.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>

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
        bitPattern = w && w->Doc.IsBitPattern;
    }
    setLabel(WaveInfo1, common::cformat("   Status %s:", name.c_str()));
    setLabel(WaveInfo2, common::cformat("   Start %d:", start));
    setLabel(WaveInfo3, valueText(normalised, startValue, bitPattern != 0));
    setLabel(WaveInfo4, common::cformat("   End %d:", end));
    setLabel(WaveInfo5, valueText(normalised, endValue, bitPattern != 0));
    setLabel(WaveInfo6, common::cformat("   Length %d:", count));
    FitStatusLabels();
}

namespace {

// Below this the panel's texts are no longer easy to read.
constexpr int kSmallestPixelSize = 9;

// Puts a row of labels on its panel at the largest font size, from the panel's own down to
// kSmallestPixelSize, with which the row fits: at their places where there is room, moved
// apart where a text is long, packed when the frame is narrow. Two blanks keep them apart.
void fitRow(QFrame* panel, const std::vector<QLabel*>& labels, const std::vector<int>& places) {
    const int room = panel->contentsRect().right() + 1;
    QFont font = panel->font();
    std::optional<std::vector<int>> xs;
    for (int size = std::max(QFontInfo(font).pixelSize(), kSmallestPixelSize);; --size) {
        font.setPixelSize(size);
        const QFontMetrics fm(font);
        std::vector<int> widths;
        widths.reserve(labels.size());
        for (const QLabel* l : labels)
            widths.push_back(l->text().isEmpty() ? 0 : fm.boundingRect(l->text()).width() + 1);
        const int gap = fm.horizontalAdvance(QStringLiteral("  "));
        xs = workspace::placeLabelRow(widths, places, gap, room);
        if (!xs && size == kSmallestPixelSize) // still too wide: packed, and the end is cut
            xs = workspace::placeLabelRow(widths, places, gap, INT_MAX);
        if (xs)
            break;
    }
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (labels[i]->font() != font)
            labels[i]->setFont(font);
        labels[i]->adjustSize();
        labels[i]->move((*xs)[i], labels[i]->y());
    }
}

} // namespace

void TPWForm1::FitStatusLabels() {
    fitRow(Panel3, {WaveInfo1, WaveInfo2, WaveInfo3, WaveInfo4, WaveInfo5, WaveInfo6},
           {1, 120, 195, 275, 350, 430});
    fitRow(Panel1, {UploadInfo, DownloadInfo}, {1, 430});
}

void TPWForm1::ClearCursorInfo() {
    for (QLabel* l : {WaveInfo1, WaveInfo2, WaveInfo3, WaveInfo4, WaveInfo5, WaveInfo6})
        l->clear();
}

int TPWForm1::FindSampleRange() {
    const TWFMform* w = ActiveWaveWindow();
    if (!w || !w->Doc.SampleStream || w->Doc.PointCount() < 1)
        return 0;
    const workspace::SampleStream& s = *w->Doc.SampleStream;
    const int32_t mid = s.midCode();
    SampleMin = mid;
    SampleMax = -mid;
    // Only points that exist are read, whatever the selection says.
    const int first = std::max(w->Doc.SelectionStart, 0);
    const int last = std::min(w->Doc.SelectionEnd, s.lastIndex());
    for (int i = first; i <= last; ++i) {
        const int32_t v = int32_t(s.code(std::size_t(i))) - mid;
        SampleMax = std::max(SampleMax, v);
        SampleMin = std::min(SampleMin, v);
    }
    return std::abs(SampleMin) < SampleMax ? SampleMax : std::abs(SampleMin);
}
