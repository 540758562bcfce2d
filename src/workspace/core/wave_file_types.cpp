// The readers and writers by WaveFileType.

#include "workspace/core/wave_files.h"

#include <cstdint>

namespace plotwell::workspace {

int EffectiveSaveType(int saveType) {
    return saveType == 0 || saveType == 8 || saveType == 12 ? 1 : saveType;
}

bool HasWriter(int saveType) {
    switch (EffectiveSaveType(saveType)) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 6:
    case 9:
    case 13:
        return true;
    default:
        return false; // 5 and 7 (GS2020 .sig, .arb), 10 and 11 (data-logger files)
    }
}

bool WriteWaveFile(int saveType, const SampleStream& samples, int32_t start, int32_t end,
                   std::string_view downloadModel, std::string& out, uint16_t& writtenReference) {
    out.clear();
    const bool tenBitModel = IsTenBitModel(downloadModel);
    switch (EffectiveSaveType(saveType)) {
    case 1:
        if (!WriteInternal(samples, start, end, out))
            return false;
        writtenReference = uint16_t(samples.midCode());
        return true;
    case 13:
        if (!WriteBitPattern(samples, start, end, out))
            return false;
        writtenReference = uint16_t(samples.midCode());
        return true;
    case 2:
        return WriteWaveCadWav(samples, start, end, tenBitModel, out, writtenReference);
    case 3:
        return WriteWaveCadAsc(samples, start, end, tenBitModel, out, writtenReference);
    case 6:
        return WriteWaveCadAsc(samples, start, end, true, out, writtenReference);
    case 4:
        return WriteNormalised(samples, start, end, out, writtenReference);
    case 9:
        return WriteTektronixIsf(samples, start, end, out, writtenReference);
    default:
        return false;
    }
}

int64_t MaxWaveFileBytes(int openType) {
    // Text forms: "-32768," or "-1.00000\r\n" is at most 10 bytes a value; the bound leaves
    // room for blanks and longer spellings of a number.
    constexpr int64_t kText = 32 << 20;
    switch (openType) {
    case 1:
    case 13:
        return 2 * (kMaxFilePoints + 1); // the reference word, then a word per point
    case 2:
    case 5:
        return 2 * kMaxFilePoints;
    case 9:
        return 2 * kMaxFilePoints + (1 << 20); // two-byte points after a header of text
    default:
        return kText;
    }
}

bool ReadWaveFile(int openType, std::string_view bytes, SampleStream& out) {
    switch (openType) {
    case 1:
        return ReadInternal(bytes, out);
    case 13:
        return ReadBitPattern(bytes, out);
    case 2:
        return ReadWaveCadWav(bytes, out);
    case 3:
    case 6:
        return ReadWaveCadAsc(bytes, out);
    case 4:
        return ReadNormalised(bytes, out);
    case 5:
        return ReadGs2020Sig(bytes, out);
    case 7:
        return ReadGs2020Arb(bytes, out);
    case 9:
        return ReadTektronixIsf(bytes, out);
    case 0:
    case 8:
    case 12:
        out.clear();
        return true;
    default:
        out.clear();
        return false;
    }
}

} // namespace plotwell::workspace
