// Saves a waveform of 1,048,576 points with its history side file over and over, as the
// program's Save does, until it is killed. Each save has a generation number, stored in
// both files (every code of the waveform, and the expression of the history), so that a
// test can tell a pair from one save from a mixed one. It carries on from the generation
// the files hold and writes "saved <n>" after each complete save.
//
// Usage: save_loop <waveform file>

#include "platform/posix/atomic_file.h"
#include "workspace/core/file_types.h"
#include "workspace/core/history_file.h"
#include "workspace/core/wave_files.h"

#include <cstdio>
#include <string>

using namespace plotwell;

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const std::string wave = argv[1];
    const std::string side = workspace::HistoryFileName(wave);
    uint16_t generation = 0;
    workspace::SampleStream s;
    if (const auto old =
            platform::readFileBytes(wave, workspace::MaxWaveFileBytes(workspace::WaveFileType::Internal)))
        if (workspace::ReadInternal(*old, s) && s.hasPoints())
            generation = s.code(0);
    for (;;) {
        ++generation;
        s = workspace::SampleStream(2048, std::size_t(workspace::kMaxPoints), generation);
        std::string data;
        if (!workspace::WriteInternal(s, 0, s.lastIndex(), data))
            return 1;
        const std::string history = workspace::WriteHistoryFile(
            {{"0", std::to_string(s.lastIndex()), "1", "0", "0", "gen " + std::to_string(generation)}});
        if (!platform::writeFilesAtomically({{wave, data}, {side, history}}))
            return 1;
        std::printf("saved %u\n", unsigned(generation));
        std::fflush(stdout);
    }
}
