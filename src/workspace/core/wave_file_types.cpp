// The readers and writers by WaveFileType, as the file-type table names them.

#include "workspace/core/file_types.h"
#include "workspace/core/wave_files.h"

#include <cstdint>

namespace plotwell::workspace {

WaveFileType EffectiveSaveType(WaveFileType saveType) {
    const FileTypeRow* row = FindFileType(saveType);
    return row ? row->savesAs : saveType;
}

bool HasWriter(WaveFileType saveType) {
    const FileTypeRow* row = FindFileType(EffectiveSaveType(saveType));
    return row && row->writer;
}

bool WriteWaveFile(WaveFileType saveType, const SampleStream& samples, int32_t start, int32_t end,
                   WaveCadForm wavecadForm, std::string& out, uint16_t& writtenReference) {
    out.clear();
    const FileTypeRow* row = FindFileType(EffectiveSaveType(saveType));
    if (!row || !row->writer)
        return false;
    return row->writer(samples, start, end, wavecadForm == WaveCadForm::TenBit, out, writtenReference);
}

int64_t MaxWaveFileBytes(WaveFileType openType) {
    const FileTypeRow* row = FindFileType(openType);
    return row ? row->largestFile : 0;
}

bool ReadWaveFile(WaveFileType openType, std::string_view bytes, SampleStream& out) {
    const FileTypeRow* row = FindFileType(openType);
    if (!row || !row->reader) {
        out.clear();
        return false;
    }
    return row->reader(bytes, out);
}

} // namespace plotwell::workspace
