#include "workspace/forms/wfmchild.h"

#include "common/numtext.h"
#include "platform/ui.h"
#include "workspace/core/levels.h"
#include "workspace/forms/frame_host.h"

#include <algorithm>
#include <span>

using namespace plotwell;
using workspace::WaveFileType;

// ---- window commands -------------------------------------------------------------------

void TWFMform::UpdateTypeMenus() {
    FrameHost->UpdateTypeMenus(*this);
}

void TWFMform::MarkSamplesChanged() {
    if (Doc.SaveState == 0)
        MarkModified();
    Doc.SaveState = 1;
}

void TWFMform::LengthChanged() {
    ClampViewToData();
    if (Doc.PointCount() < 1) {
        Doc.SelectionStart = Doc.SelectionEnd = 0;
        return;
    }
    Doc.NormaliseSelection();
}

// The selection's codes, the selection first brought within the samples.
static std::span<uint16_t> selectedCodes(TWFMform& w) {
    const int n = w.Doc.PointCount();
    if (n < 1)
        return {};
    w.Doc.NormaliseSelection();
    return w.Doc.SampleStream->codes().subspan(size_t(w.Doc.SelectionStart),
                                               size_t(w.Doc.SelectionEnd - w.Doc.SelectionStart) + 1);
}

// The level commands publish the status too, so the panel shows the new values.
static void finishLevelCommand(TWFMform& w, const workspace::LevelResult& r) {
    if (r.marks && w.Doc.SaveState == 0)
        w.MarkSamplesChanged();
    w.update();
    w.PublishStatus();
}

void TWFMform::Verticaltomax1Click() {
    if (Doc.FileType == WaveFileType::None || Doc.PointCount() < 1)
        return;
    const int32_t peak = FrameHost->FindSampleRange();
    finishLevelCommand(
        *this, workspace::amplitudeToMaxPeak(selectedCodes(*this), Doc.SampleStream->midCode(), peak));
}

void TWFMform::Amplitudetomaxpkpk1Click() {
    if (Doc.FileType == WaveFileType::None || Doc.PointCount() < 1)
        return;
    FrameHost->FindSampleRange();
    finishLevelCommand(*this, workspace::amplitudeToMaxPkPk(selectedCodes(*this), Doc.SampleStream->midCode(),
                                                            FrameHost->SampleMin, FrameHost->SampleMax));
}

void TWFMform::Clear1Click() {
    // The clearing stops when the user cancels or the save did not happen.
    if (Doc.SaveState != 0 && !OfferToSave())
        return;
    Doc.SaveState = 0;
    Doc.WaveName = DefaultWaveName;
    SetCaption(DefaultWaveName);
    Doc.CreateSampleStream();
    Doc.FileType = WaveFileType::None;
    Doc.UnsignedDisplay = 0;
    Doc.IsBitPattern = 0;
    LengthChanged();
    update();
    FormActivate();
}
