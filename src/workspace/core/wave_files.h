#pragma once
// The waveform file formats, as pure codecs over byte buffers.
//
// Readers take the whole file as bytes and fill `out` (cleared first). They never crash on
// any input: a short, odd, inconsistent or oversized file makes them return false, leaving
// in `out` what was read so far (possibly nothing). They are the functions the fuzz targets
// call.
//
// Writers encode the selection `start`..`end` (both inclusive) of `samples` into `out`
// (replaced). They fail, leaving `out` empty, when the waveform holds no point or the
// selection is not inside it. `writtenReference` receives the reference word written. A
// stored reference word of 1 (normalised data) is taken as 32768 in every formula and
// written as 32768.

#include "workspace/core/file_types.h"
#include "workspace/core/limits.h"
#include "workspace/core/sample_stream.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace plotwell::workspace {

// ---- own formats --------------------------------------------------------------------
// .wfm: R, then the codes, little-endian 16-bit words. Fails when the length is below 4
// bytes or odd, or R is neither 1 nor 2..32768.
bool ReadInternal(std::string_view bytes, SampleStream& out);
bool WriteInternal(const SampleStream& samples, int32_t start, int32_t end, std::string& out);
// .ptn: as .wfm with the top bit of every code word inverted in the file.
bool ReadBitPattern(std::string_view bytes, SampleStream& out);
bool WriteBitPattern(const SampleStream& samples, int32_t start, int32_t end, std::string& out);

// ---- WaveCAD and GS2020 --------------------------------------------------------------
// .wav: one signed 16-bit little-endian word v per point, code (v + 2048) AND 0xFFF.
// R is 512 when the largest code is below 1025, else 2048, also after a failed (odd) read.
bool ReadWaveCadWav(std::string_view bytes, SampleStream& out);
// 12-bit: every selected point, (s - R) x 2048 / R; 10-bit: resampled to 1024 points, the
// 10-bit code minus 2048.
bool WriteWaveCadWav(const SampleStream& samples, int32_t start, int32_t end, bool tenBit, std::string& out,
                     uint16_t& writtenReference);

// .asc (WaveCAD and GS2020): signed decimal values separated by commas. R 2048, code
// (v + 2048) AND 0xFFF; a file whose codes all lie in 1536..2560 is 10-bit (R 512, codes
// lowered by 1536). A value that does not convert is a failure.
bool ReadWaveCadAsc(std::string_view bytes, SampleStream& out);
// "%hd," per point, the last one without a comma; 10-bit: 1024 points of -512..511.
bool WriteWaveCadAsc(const SampleStream& samples, int32_t start, int32_t end, bool tenBit, std::string& out,
                     uint16_t& writtenReference);

// .sig: two bytes per point, the first is the code; R 128. An odd length fails.
bool ReadGs2020Sig(std::string_view bytes, SampleStream& out);
// .arb: "%hd," values of -128..127, code (v + 128) AND 255; R 128.
bool ReadGs2020Arb(std::string_view bytes, SampleStream& out);

// ---- normalised ------------------------------------------------------------------------
// .nrm: one value of -1..+1 per line. R 1. Reading ends, successfully, at the end or at
// the first text that is not a number.
bool ReadNormalised(std::string_view bytes, SampleStream& out);
// "%+7.5f\r\n" of (s - R) / R.
bool WriteNormalised(const SampleStream& samples, int32_t start, int32_t end, std::string& out,
                     uint16_t& writtenReference);

// ---- Tektronix ----------------------------------------------------------------------
// .isf: a header, then an IEEE 488.2 definite-length block. R 128. Only the first record is
// read. Two-byte points take the most significant byte (the first, or the second with
// "BYT_OR LSB"); with "BYT_NR 1" every byte is a point. Headers stating 4-byte or
// floating-point points, or more than kMaxPoints points, are refused.
bool ReadTektronixIsf(std::string_view bytes, SampleStream& out);
// The fixed header, then the selection resampled to 1000 two-byte points, then "\n".
bool WriteTektronixIsf(const SampleStream& samples, int32_t start, int32_t end, std::string& out,
                       uint16_t& writtenReference);

// The largest file of `openType` that can hold kMaxPoints points: a larger one is
// refused before it is read. Exact for the binary forms; for the text forms a generous
// bound on the widest way of writing that many values.
int64_t MaxWaveFileBytes(WaveFileType openType);

// ---- dispatch by WaveFileType -------------------------------------------------------------
// The type whose writer a save uses: 0, 8 and 12 have no format of their own and save as
// the own format.
WaveFileType EffectiveSaveType(WaveFileType saveType);
// True when the save type has a writer (after EffectiveSaveType).
bool HasWriter(WaveFileType saveType);
// Runs the writer of `saveType` (1, 2, 3, 4, 6, 9, 13; 0, 8, 12 as 1). `wavecadForm` is
// the form of the WaveCAD .wav and .asc files (the GS2020 .asc is always 10-bit).
bool WriteWaveFile(WaveFileType saveType, const SampleStream& samples, int32_t start, int32_t end,
                   WaveCadForm wavecadForm, std::string& out, uint16_t& writtenReference);
// Runs the reader of `openType` for one-waveform files (1 to 9, 13). 0, 8 and 12 read
// nothing and succeed with an empty stream; 10 and 11 are the data-logger readers.
bool ReadWaveFile(WaveFileType openType, std::string_view bytes, SampleStream& out);

} // namespace plotwell::workspace
