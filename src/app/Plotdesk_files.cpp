// The frame's part in loading and saving: the pass over the windows after a part of a
// waveform was saved over its own file, and the data-logger channels as windows.

#include "app/Plotdesk.h"

#include "common/numtext.h"
#include "platform/posix/folders.h"
#include "workspace/core/datalogger.h"
#include "workspace/core/file_types.h"
#include "workspace/forms/wfmchild.h"

using namespace plotwell;
using workspace::WaveFileType;

void TPWForm1::MarkOverwritten(const std::string& name, int flag, int index, TWFMform* saved) {
    if (!saved)
        saved = ActiveWaveWindow();
    for (TWFMform* w : WaveWindows()) {
        if (w == saved) {
            if (w->Doc.SaveState == 2)
                w->Doc.SaveState = 1;
        } else if (flag == 1 && w->Doc.WaveName == name && w->Doc.FileIndex == index) {
            w->SetCaption(common::cformat("%s (Overwritten)", platform::fileNameOnly(name).c_str()));
            w->Doc.SaveState = 1;
            w->Doc.FileType = WaveFileType::NotFromFile;
        }
    }
}

namespace {

bool loadChannels(TPWForm1& frame, TWFMform* first, const std::string& name, bool dac,
                  const std::vector<workspace::LoggerChannel>& channels) {
    const WaveFileType type = dac ? WaveFileType::ZeloDac : WaveFileType::ZeloDta;
    TWFMform* w = nullptr;
    for (const auto& ch : channels) {
        if (!w) {
            w = first;
        } else {
            w = frame.CreateWaveWindow();
            w->Doc.CreateSampleStream();
            w->Doc.FileType = WaveFileType::FurtherChannel;
        }
        w->Doc.UnsignedDisplay = ch.unsignedDisplay;
        w->Doc.SampleStream->assign(ch.reference, ch.codes);
        w->Doc.SelectionStart = 0;
        w->Doc.SelectionEnd = int32_t(ch.codes.size()) - 1;
        w->ShadeStartX = w->ShadeEndX = 0;
        w->Doc.GenerationHistory.clear();
        w->Doc.WaveName = name;
        w->SetCaption(common::cformat("%s %s:CH%d", platform::fileNameOnly(name).c_str(),
                                      workspace::FileTypeName(type), ch.number));
        if (dac)
            w->Doc.FileIndex = ch.number;
        w->update();
        frame.ActivateWaveWindow(w);
    }
    return true;
}

} // namespace

bool TPWForm1::LoadZeloDtaChannels(TWFMform* first, std::string_view bytes, const std::string& name) {
    std::vector<workspace::LoggerChannel> channels;
    if (!workspace::ReadZeloDta(bytes, channels))
        return false;
    return loadChannels(*this, first, name, false, channels);
}

bool TPWForm1::LoadZeloDacChannels(TWFMform* first, std::string_view bytes, const std::string& name) {
    std::vector<workspace::LoggerChannel> channels;
    if (!workspace::ReadZeloDac(bytes, channels))
        return false;
    return loadChannels(*this, first, name, true, channels);
}
