#include "workspace/forms/wfmchild.h"

#include "platform/ui.h"
#include "workspace/core/levels.h"
#include "common/numtext.h"
#include "workspace/forms/frame_host.h"

#include <algorithm>
#include <span>

using namespace plotwell;

// ---- window commands -------------------------------------------------------------------

void TWFMform::UpdateTypeMenus() { FrameHost->UpdateTypeMenus(*this); }

void TWFMform::EndPendingLine() {}

void TWFMform::MarkSamplesChanged() {
    if (SaveState == 0)
        MarkModified();
    SaveState = 1;
}

void TWFMform::LengthChanged() {
    Zoomed = 0;
    ViewFirst = -1;
    SavedView = {0, 0, -1, 0};
    if (PointCount() < 1) {
        SelectionStart = SelectionEnd = 0;
        return;
    }
    NormaliseSelection();
}

// The selection's codes, the selection first brought within the samples.
static std::span<uint16_t> selectedCodes(TWFMform& w) {
    const int n = w.PointCount();
    if (n < 1)
        return {};
    w.NormaliseSelection();
    return w.SampleStream->codes().subspan(size_t(w.SelectionStart),
                                           size_t(w.SelectionEnd - w.SelectionStart) + 1);
}

// The level commands publish the status too, so the panel shows the new values.
static void finishLevelCommand(TWFMform& w, const workspace::LevelResult& r) {
    if (r.marks && w.SaveState == 0)
        w.MarkSamplesChanged();
    w.update();
    w.PublishStatus();
}

void TWFMform::Verticaltomax1Click() {
    if (FileType == 0 || PointCount() < 1)
        return;
    const int32_t peak = FrameHost->FindSampleRange();
    finishLevelCommand(*this,
                       workspace::amplitudeToMaxPeak(selectedCodes(*this), SampleStream->midCode(), peak));
}

void TWFMform::Amplitudetomaxpkpk1Click() {
    if (FileType == 0 || PointCount() < 1)
        return;
    FrameHost->FindSampleRange();
    finishLevelCommand(*this, workspace::amplitudeToMaxPkPk(selectedCodes(*this), SampleStream->midCode(),
                                                            FrameHost->SampleMin, FrameHost->SampleMax));
}

void TWFMform::Clear1Click() {
    if (SaveState != 0) {
        const auto answer = platform::askYesNoCancel(common::cformat(
            "%s.\nWaveform data not saved.\nDo you want to save it now?", Caption().c_str()));
        if (answer == platform::Answer::Cancel || answer == platform::Answer::None)
            return;
        if (answer == platform::Answer::Yes) {
            // The data are about to go, so the whole waveform is saved, whatever is selected;
            // the clearing stops when the save did not happen.
            const int32_t oldStart = SelectionStart, oldEnd = SelectionEnd;
            if (PointCount() >= 1) {
                SelectionStart = 0;
                SelectionEnd = PointCount() - 1;
            }
            FrameHost->SaveCancelled = false;
            const bool written = Save1Click();
            if (FrameHost->SaveCancelled || !written) {
                SelectionStart = oldStart;
                SelectionEnd = oldEnd;
                return;
            }
        } else {
            SaveState = 0;
        }
    }
    WaveName = DefaultWaveName;
    SetCaption(DefaultWaveName);
    SampleStream = std::make_unique<SampleStreamType>();
    FileType = 0;
    UnsignedDisplay = 0;
    IsBitPattern = 0;
    LengthChanged();
    update();
    FormActivate();
}
