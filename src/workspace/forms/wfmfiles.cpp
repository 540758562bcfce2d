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

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

using namespace plotwell;
using common::cformat;
using workspace::WaveFileType;

namespace {

void showFileStatus(const char* format, const std::string& fileName) {
    if (FrameHost)
        FrameHost->ShowStatusNote(cformat(format, platform::fileNameOnly(fileName).c_str()), 1000);
}

// The save dialog's set-up for a save type; false for the types that have none.
bool setUpSaveDialog(platform::FileDialogState& d, WaveFileType type, const TFrameHost& frame) {
    const workspace::FileTypeRow* row = workspace::FindFileType(type);
    if (!row || !row->saveTitle)
        return false;
    d.defaultExt = row->extension;
    d.filter = row->filter;
    d.initialDir = frame.FolderPath(row->folder);
    d.title = row->saveTitle;
    return true;
}

// The waveform window in front in `w`'s MDI area (the frame's active one), or null.
TWFMform* frontWindow(const TWFMform& w) {
    const QMdiSubWindow* sw = w.subWindow();
    const QMdiSubWindow* front = sw && sw->mdiArea() ? sw->mdiArea()->currentSubWindow() : nullptr;
    return front ? qobject_cast<TWFMform*>(front->widget()) : nullptr;
}

} // namespace

void TWFMform::LoadFromFile(const std::string& fileName) {
    platform::BusyCursor busy;
    TFrameHost* frame = FrameHost;
    const WaveFileType type = frame->OpenType;
    Doc.WaveName = fileName;
    Doc.CreateSampleStream();
    Doc.UnsignedDisplay = 0;
    Doc.FileIndex = 0;
    SetCaption(cformat("%s %s", platform::fileNameOnly(fileName).c_str(), workspace::FileTypeName(type)));

    const auto contents = platform::readFileBytes(fileName, workspace::MaxWaveFileBytes(type));
    const std::string_view bytes = contents ? std::string_view(*contents) : std::string_view();
    bool ok = contents.has_value();
    if (ok) {
        Doc.FileType = type;
        showFileStatus("Reading from file %s", fileName);
        if (type == WaveFileType::ZeloDta)
            ok = frame->LoadZeloDtaChannels(this, bytes, fileName);
        else if (type == WaveFileType::ZeloDac)
            ok = frame->LoadZeloDacChannels(this, bytes, fileName);
        else
            ok = workspace::ReadWaveFile(type, bytes, *Doc.SampleStream);
        if (type == WaveFileType::BitPattern) {
            Doc.FileType = WaveFileType::BitPattern;
            Doc.IsBitPattern = 1;
        }
    }
    // The whole of what was read is selected, also after a failed read, so the selection
    // never points past the samples.
    const int n = Doc.PointCount();
    Doc.SelectionStart = 0;
    Doc.SelectionEnd = std::max(n - 1, 0);
    ShadeStartX = ShadeEndX = 0;
    if (ok) {
        Doc.LoadedFileName = fileName;
        Doc.LoadedFileType = Doc.FileType;
        // The side file replaces the history; it is not added to what the history held.
        Doc.GenerationHistory.clear();
        if (const auto side = platform::readFileBytes(workspace::HistoryFileName(Doc.WaveName),
                                                      workspace::kMaxSettingsFileBytes))
            Doc.GenerationHistory = workspace::ReadHistoryFile(*side);
    }
    update();
    // The window was activated while it was still empty (or held the old samples): the
    // status panel and the type menus show what it holds now. A data-logger file may have
    // made another window active meanwhile; that one is shown.
    if (TWFMform* active = frontWindow(*this))
        active->FormActivate();
    if (!ok)
        platform::errorBox(cformat("Unable to read from\n%s", Doc.WaveName.c_str()));
}

bool TWFMform::Save1Click() {
    TFrameHost* frame = FrameHost;
    if (Doc.FileType == WaveFileType::BitPattern)
        frame->SaveType = WaveFileType::BitPattern;
    // Types without a format of their own (none, 8, CSV) save as the own format.
    frame->SaveType = workspace::EffectiveSaveType(frame->SaveType);
    const WaveFileType type = frame->SaveType;
    const workspace::FileTypeRow* row = workspace::FindFileType(type);
    if (row && row->saveRefusal) {
        platform::errorBox(row->saveRefusal);
        return false;
    }
    SaveFileDialog.fileName.clear();
    setUpSaveDialog(SaveFileDialog, type, *frame);
    SaveFileDialog.overwritePrompt = true;
    SaveFileDialog.fileMustExist = false;
    if (type == WaveFileType::BitPattern)
        Doc.SaveState = 1;

    bool written = false;
    if (!platform::ui().saveFile(SaveFileDialog)) {
        frame->SaveCancelled = true;
    } else if (SaveToFile(SaveFileDialog.fileName)) {
        written = true;
        const std::string name = SaveFileDialog.fileName;
        if (Doc.WholeSelected()) {
            if (Doc.SaveState != 0) {
                // The window now shows what the file holds, which may be fewer points or bits.
                Doc.SampleStream.reset();
                frame->OpenType = type;
                frame->SetOpenDialogName(name);
                LoadFromFile(name);
                Doc.SaveState = 0;
            }
        } else if (Doc.SaveState == 0 && name == Doc.WaveName) {
            Doc.SaveState = 1;
            Doc.FileType = WaveFileType::NotFromFile;
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
    const WaveFileType type = workspace::EffectiveSaveType(FrameHost->SaveType);
    auto fail = [&fileName] {
        platform::errorBox(cformat("Unable to write waveform data to\n%s", fileName.c_str()));
        return false;
    };
    // Decide whether anything can be written before the target is touched.
    if (!workspace::HasWriter(type) || !Doc.SampleStream || !Doc.SampleStream->hasPoints())
        return fail();
    showFileStatus("Saving to file %s", fileName);
    std::string data;
    uint16_t reference = 0;
    if (!workspace::WriteWaveFile(type, *Doc.SampleStream, Doc.SelectionStart, Doc.SelectionEnd,
                                  FrameHost->DownloadWaveCadForm(), data, reference))
        return fail();
    std::vector<std::pair<std::string, std::string_view>> files{{fileName, data}};
    std::string side;
    if (Doc.HistoryCount() > 0) {
        side = workspace::WriteHistoryFile(Doc.GenerationHistory);
        files.emplace_back(workspace::HistoryFileName(fileName), side);
    }
    if (!platform::writeFilesAtomically(files))
        return fail();
    WrittenReference = reference;
    return true;
}

namespace {
void saveAs(TWFMform* w, WaveFileType type) {
    FrameHost->SaveType = type;
    w->Save1Click();
}
} // namespace

void TWFMform::SaveInternalClick() {
    saveAs(this, WaveFileType::Internal);
}
void TWFMform::SaveWaveCADwavClick() {
    saveAs(this, WaveFileType::WaveCadWav);
}
void TWFMform::SaveWaveCADascClick() {
    saveAs(this, WaveFileType::WaveCadAsc);
}
void TWFMform::SaveNormalisedClick() {
    saveAs(this, WaveFileType::Normalised);
}
void TWFMform::SaveTektronixClick() {
    saveAs(this, WaveFileType::Tektronix);
}
void TWFMform::BitPatternbpn1Click() {
    saveAs(this, WaveFileType::BitPattern);
}

bool TWFMform::WriteInternal(const std::string& fileName) {
    if (!Doc.SampleStream)
        return false;
    std::string data;
    return workspace::WriteInternal(*Doc.SampleStream, Doc.SelectionStart, Doc.SelectionEnd, data) &&
           platform::writeFileAtomically(fileName, data);
}

bool TWFMform::ResampleSelection(int32_t start, int32_t count, int32_t newCount,
                                 std::vector<uint16_t>& out) const {
    if (!Doc.SampleStream)
        return false;
    return workspace::ResampleSelection(Doc.SampleStream->codes(), start, count, newCount, out);
}
