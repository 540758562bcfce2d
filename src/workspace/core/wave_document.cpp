#include "workspace/core/wave_document.h"

#include <algorithm>

namespace plotwell::workspace {

void WaveDocument::CreateSampleStream() {
    SampleStream = std::make_unique<SampleStreamType>();
}

void WaveDocument::SelectWhole() {
    const int n = PointCount();
    if (n < 1)
        return;
    SelectionStart = 0;
    SelectionEnd = n - 1;
}

void WaveDocument::NormaliseSelection() {
    const int n = PointCount();
    if (n < 1)
        return;
    SelectionEnd = std::clamp(SelectionEnd, 0, n - 1);
    SelectionStart = std::max(SelectionStart, 0);
    if (SelectionEnd <= SelectionStart)
        SelectionStart = SelectionEnd;
}

bool WaveDocument::EraseHistoryEntry(int index) {
    if (index < 0 || index >= HistoryCount())
        return false;
    GenerationHistory.erase(GenerationHistory.begin() + index);
    return true;
}

} // namespace plotwell::workspace
