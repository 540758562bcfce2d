// Loading and saving a waveform window: the file dispatch by type, the save dialog per
// type, the status notes, the side file and the window's state after a save.

#include "workspace/forms/wfmchild.h"

#include "common/numtext.h"
#include "platform/posix/atomic_file.h"
#include "platform/posix/folders.h"
#include "platform/screen_cursor.h"
#include "platform/ui.h"
#include "workspace/core/file_types.h"
#include "workspace/core/history_file.h"
#include "workspace/core/resample.h"
#include "workspace/core/wave_files.h"
#include "workspace/forms/frame_host.h"

#include <algorithm>

using namespace plotwell;
using common::cformat;

namespace {

void showFileStatus(const char* format, const std::string& fileName) {
    if (FrameHost)
        FrameHost->ShowStatusNote(cformat(format, platform::fileNameOnly(fileName).c_str()), 1000);
}

// The save dialog's set-up for a save type; false for the types that have none.
bool setUpSaveDialog(platform::FileDialogState& d, int type, const TFrameHost& frame) {
    auto set = [&d](const char* ext, const char* filter, const std::string& dir, const char* title) {
        d.defaultExt = ext;
        d.filter = filter;
        d.initialDir = dir;
        d.title = title;
    };
    switch (type) {
    case 1:
        set("wfm", "Plotwell *.wfm files|*.wfm", frame.WavesDir, "Save to a Plotwell file");
        break;
    case 2:
        set("wav", "WaveCAD *.wav files|*.wav", frame.WaveCadDir, "Save to a WaveCAD file");
        break;
    case 3:
        set("asc", "WaveCAD *.asc files|*.asc", frame.WaveCadDir, "Save to a WaveCAD file");
        break;
    case 4:
        set("nrm", "Normalised *.nrm files|*.nrm", frame.WavesDir, "Save to a Normalised file");
        break;
    case 5:
        set("sig", "GS2020 *.sig files|*.sig", frame.Gs2020Dir, "Save to a GS2020 file");
        break;
    case 6:
        set("asc", "GS2020 *.asc files|*.asc", frame.Gs2020Dir, "Save to a GS2020 file");
        break;
    case 7:
        set("arb", "GS2020 *.arb files|*.arb", frame.Gs2020Dir, "Save to a GS2020 file");
        break;
    case 9:
        set("isf", "Tektronix *.isf files|*.isf", frame.TdsDir, "Save to a Tektronix TDS file");
        break;
    case 11:
        set("dac", "ZELO *.dac files|*.dac", frame.ZeloDir, "Save to a ZELO file");
        break;
    case 13:
        set("ptn", "Plotwell Bit Pattern files *.ptn files|*.ptn", frame.PatternsDir,
            "Save to a Bit Pattern file");
        break;
    default:
        return false;
    }
    return true;
}

} // namespace

void TWFMform::LoadFromFile(const std::string& fileName) {
    platform::BusyCursor busy;
    TFrameHost* frame = FrameHost;
    const int type = frame->OpenType;
    WaveName = fileName;
    CreateSampleStream();
    UnsignedDisplay = 0;
    FileIndex = 0;
    SetCaption(cformat("%s %s", platform::fileNameOnly(fileName).c_str(), workspace::FileTypeName(type)));

    const auto contents = platform::readFileBytes(fileName);
    const std::string_view bytes = contents ? std::string_view(*contents) : std::string_view();
    bool ok = contents.has_value();
    if (ok) {
        FileType = type;
        showFileStatus("Reading from file %s", fileName);
        if (type == 10)
            ok = frame->LoadZeloDtaChannels(this, bytes, fileName);
        else if (type == 11)
            ok = frame->LoadZeloDacChannels(this, bytes, fileName);
        else
            ok = workspace::ReadWaveFile(type, bytes, *SampleStream);
        if (type == 13) {
            FileType = 13;
            IsBitPattern = 1;
        }
    }
    // The whole of what was read is selected, also after a failed read, so the selection
    // never points past the samples.
    const int n = PointCount();
    SelectionStart = 0;
    SelectionEnd = std::max(n - 1, 0);
    ShadeStartX = ShadeEndX = 0;
    if (ok) {
        LoadedFileName = fileName;
        LoadedFileType = FileType;
        // The side file replaces the history; it is not added to what the lists held.
        HistoryCount = 0;
        for (auto* list : {&StartStore, &EndStore, &AmplStore, &OffsetStore, &AdjustStore, &ExprnStore})
            list->clear();
        if (const auto side = platform::readFileBytes(workspace::HistoryFileName(WaveName))) {
            for (auto& e : workspace::ReadHistoryFile(*side)) {
                StartStore.push_back(std::move(e.start));
                EndStore.push_back(std::move(e.end));
                AmplStore.push_back(std::move(e.amplitude));
                OffsetStore.push_back(std::move(e.offset));
                AdjustStore.push_back(std::move(e.levelMode));
                ExprnStore.push_back(std::move(e.expression));
            }
            HistoryCount = int32_t(ExprnStore.size());
        }
    }
    update();
    if (!ok)
        platform::errorBox(cformat("Unable to read from\n%s", WaveName.c_str()));
}

bool TWFMform::Save1Click() {
    TFrameHost* frame = FrameHost;
    if (FileType == 13)
        frame->SaveType = 13;
    // Types without a format of their own (none, 8, CSV) save as the own format.
    frame->SaveType = workspace::EffectiveSaveType(frame->SaveType);
    const int type = frame->SaveType;
    if (type == 10) {
        platform::errorBox("Waveforms cannot be saved to ZELO *.dta log files");
        return false;
    }
    SaveFileDialog.fileName.clear();
    setUpSaveDialog(SaveFileDialog, type, *frame);
    SaveFileDialog.overwritePrompt = true;
    SaveFileDialog.fileMustExist = false;
    if (type == 13)
        SaveState = 1;

    bool written = false;
    if (!platform::ui().saveFile(SaveFileDialog)) {
        frame->SaveCancelled = true;
    } else if (SaveToFile(SaveFileDialog.fileName)) {
        written = true;
        const std::string name = SaveFileDialog.fileName;
        const int n = PointCount();
        const bool whole = SelectionStart == 0 && SelectionEnd == n - 1;
        if (whole) {
            if (SaveState != 0) {
                // The window now shows what the file holds, which may be fewer points or bits.
                SampleStream.reset();
                frame->OpenType = type;
                frame->SetOpenDialogName(name);
                LoadFromFile(name);
                SaveState = 0;
            }
        } else if (SaveState == 0 && name == WaveName) {
            SaveState = 1;
            FileType = -1;
            SetCaption(cformat("%s (Overwritten)", platform::fileNameOnly(name).c_str()));
            // Only data-logger channels have an index; their type has no writer.
            frame->MarkOverwritten(name, 1, 0, this);
        }
    }
    frame->SaveType = frame->GlobalFileType;
    update();
    return written;
}

bool TWFMform::SaveToFile(const std::string& fileName) {
    platform::BusyCursor busy;
    const int type = workspace::EffectiveSaveType(FrameHost->SaveType);
    auto fail = [&fileName] {
        platform::errorBox(cformat("Unable to write waveform data to\n%s", fileName.c_str()));
        return false;
    };
    // Decide whether anything can be written before the target is touched.
    if (!workspace::HasWriter(type) || !SampleStream || !SampleStream->hasPoints())
        return fail();
    showFileStatus("Saving to file %s", fileName);
    std::string data;
    uint16_t reference = 0;
    if (!workspace::WriteWaveFile(type, *SampleStream, SelectionStart, SelectionEnd,
                                  FrameHost->DownloadModel(), data, reference))
        return fail();
    std::vector<std::pair<std::string, std::string_view>> files{{fileName, data}};
    std::string side;
    if (HistoryCount > 0) {
        std::vector<workspace::HistoryFileEntry> entries;
        const std::size_t count =
            std::min({std::size_t(HistoryCount), StartStore.size(), EndStore.size(), AmplStore.size(),
                      OffsetStore.size(), AdjustStore.size(), ExprnStore.size()});
        for (std::size_t i = 0; i < count; ++i)
            entries.push_back(
                {StartStore[i], EndStore[i], AmplStore[i], OffsetStore[i], AdjustStore[i], ExprnStore[i]});
        side = workspace::WriteHistoryFile(entries);
        files.emplace_back(workspace::HistoryFileName(fileName), side);
    }
    if (!platform::writeFilesAtomically(files))
        return fail();
    WrittenReference = reference;
    return true;
}

namespace {
void saveAs(TWFMform* w, int type) {
    FrameHost->SaveType = type;
    w->Save1Click();
}
} // namespace

void TWFMform::SaveInternalClick() {
    saveAs(this, 1);
}
void TWFMform::SaveWaveCADwavClick() {
    saveAs(this, 2);
}
void TWFMform::SaveWaveCADascClick() {
    saveAs(this, 3);
}
void TWFMform::SaveNormalisedClick() {
    saveAs(this, 4);
}
void TWFMform::SaveTektronixClick() {
    saveAs(this, 9);
}
void TWFMform::BitPatternbpn1Click() {
    saveAs(this, 13);
}

bool TWFMform::WriteInternal(const std::string& fileName) {
    if (!SampleStream)
        return false;
    std::string data;
    return workspace::WriteInternal(*SampleStream, SelectionStart, SelectionEnd, data) &&
           platform::writeFileAtomically(fileName, data);
}

bool TWFMform::ResampleSelection(int32_t start, int32_t count, int32_t newCount,
                                 std::vector<uint16_t>& out) const {
    if (!SampleStream)
        return false;
    return workspace::ResampleSelection(SampleStream->codes(), start, count, newCount, out);
}
