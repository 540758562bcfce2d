#pragma once
// The document of a waveform window: its samples, name, file type, selection, save state,
// the flags other parts of the program set, and the generation history. The window shows
// it; dialogs and the frame read and write it through the window.

#include "workspace/core/file_types.h"
#include "workspace/core/sample_stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plotwell::workspace {

// One generation applied to a waveform, as the expression dialog shows it and the history
// side file stores it: the texts of its fields, the level mode as "0", "1" or "2".
struct GenerationEntry {
    std::string start, end, amplitude, offset, levelMode, expression;
    bool operator==(const GenerationEntry&) const = default;
};

class WaveDocument {
public:
    using SampleStreamType = workspace::SampleStream;

    // A number kept only for the project settings file.
    int32_t ProjectValue = 0;
    // The file's full path, or the name the new-waveform set-up gave.
    std::string WaveName;
    // 0 stored, 1 modified and not stored, 2 only a part was written over its own file.
    int32_t SaveState = 0;
    // The samples; null until CreateSampleStream or a load, freed when the window closes.
    std::unique_ptr<SampleStreamType> SampleStream;
    WaveFileType FileType = WaveFileType::None;
    // The selection, both ends inclusive, start not after end.
    int32_t SelectionStart = 0, SelectionEnd = 0;
    // Values are shown as 0..2R-1 (data-logger channels).
    uint8_t UnsignedDisplay = 0;
    // The waveform's place among the waveforms of its file: the .dac channel number, else 0.
    int32_t FileIndex = 0;
    std::vector<GenerationEntry> GenerationHistory;
    // The samples are a bit pattern (file type 13).
    uint8_t IsBitPattern = 0;
    // The next new-waveform set-up is for a bit pattern.
    uint8_t PatternRequest = 0;
    // The file the samples were last read from and the type they were read as. While
    // WaveName is still this file the document stands for it and a project lists it (a
    // generated waveform or a CSV import never does).
    std::string LoadedFileName;
    WaveFileType LoadedFileType = WaveFileType::None;

    // Gives the document a new empty sample store.
    void CreateSampleStream();
    // N, below 1 when the document holds no data.
    int PointCount() const { return SampleStream ? SampleStream->count() : -1; }
    // Selects every point; nothing changes while there is none.
    void SelectWhole();
    bool WholeSelected() const { return SelectionStart == 0 && SelectionEnd == PointCount() - 1; }
    // Brings the selection within 0..N-1: the end first, then a start after the end moves
    // down to it. Nothing changes while there is no point.
    void NormaliseSelection();

    int32_t HistoryCount() const { return int32_t(GenerationHistory.size()); }
    // Removes entry `index`; false, removing nothing, for an index outside the history.
    bool EraseHistoryEntry(int index);
};

} // namespace plotwell::workspace
