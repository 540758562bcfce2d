#include "workspace/forms/Plotdesk.h"

#include <QLabel>

void TPWForm1::ShowCursorInfo(const std::string&, int, bool, int, float, float, int) {}

void TPWForm1::ClearCursorInfo() {
    for (QLabel* l : {WaveInfo1, WaveInfo2, WaveInfo3, WaveInfo4, WaveInfo5, WaveInfo6})
        l->clear();
}

int TPWForm1::FindSampleRange() { return 0; }
