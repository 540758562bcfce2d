#pragma once
// The two sizes every waveform keeps to, wherever it comes from (a file, the clipboard, a CSV
// column, an instrument, the new-waveform set-up) and whatever changes it (a paste, a resize,
// a bit edit). Every check uses these names, so that a reader, an upload and an edit never
// disagree on what a window may hold.

#include <cstdint>

namespace plotwell::workspace {

// The most points a waveform holds: 2 MiB of 16-bit words in one sample store, which every
// reader, writer, operation and transfer is sized for. A longer input is refused whole,
// never cut, so that no point is lost without a word. Messages spell it "1048576".
inline constexpr int32_t kMaxPoints = 1048576;

// The most bits a bit pattern holds (one sample a bit); its editor shows a row per bit.
// Messages spell it "65535".
inline constexpr int32_t kMaxPatternBits = 65535;

} // namespace plotwell::workspace
