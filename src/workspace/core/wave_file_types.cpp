// The readers and writers by WaveFileType, as the file-type table names them.

#include "workspace/core/file_types.h"
#include "workspace/core/wave_files.h"

namespace plotwell::workspace {

int EffectiveSaveType(int saveType) {
    const FileTypeRow* row = FindFileType(saveType);
    return row ? FileTypeCode(row->savesAs) : saveType;
}

bool HasWriter(int saveType) {
    const FileTypeRow* row = FindFileType(EffectiveSaveType(saveType));
    return row && row->writer;
}

bool WriteWaveFile(int saveType, const SampleStream& samples, int32_t start, int32_t end,
                   std::string_view downloadModel, std::string& out, uint16_t& writtenReference) {
    out.clear();
    const FileTypeRow* row = FindFileType(EffectiveSaveType(saveType));
    if (!row || !row->writer)
        return false;
    return row->writer(samples, start, end, IsTenBitModel(downloadModel), out, writtenReference);
}

bool ReadWaveFile(int openType, std::string_view bytes, SampleStream& out) {
    const FileTypeRow* row = FindFileType(openType);
    if (!row || !row->reader) {
        out.clear();
        return false;
    }
    return row->reader(bytes, out);
}

} // namespace plotwell::workspace
