// A save killed at any moment leaves the waveform and its side file as the old pair or the
// new pair, never a torn file or a mix of two saves, and its temporary files go with the
// next save in the folder.

#include "platform/posix/atomic_file.h"
#include "workspace/core/file_types.h"
#include "workspace/core/history_file.h"
#include "workspace/core/wave_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace plotwell;

namespace {

// The generation the waveform file holds, or -1 when its codes are not all one save's.
int waveGeneration(const std::string& wave) {
    workspace::SampleStream s;
    const auto bytes =
        platform::readFileBytes(wave, workspace::MaxWaveFileBytes(workspace::WaveFileType::Internal));
    if (!bytes || !workspace::ReadInternal(*bytes, s) || s.count() != workspace::kMaxPoints)
        return -1;
    for (uint16_t c : s.codes())
        if (c != s.code(0))
            return -1;
    return s.code(0);
}

int sideGeneration(const std::string& side) {
    const auto bytes = platform::readFileBytes(side, workspace::kMaxSettingsFileBytes);
    const auto entries =
        bytes ? workspace::ReadHistoryFile(*bytes) : std::vector<workspace::GenerationEntry>();
    if (entries.size() != 1 || entries[0].expression.rfind("gen ", 0) != 0)
        return -1;
    return std::stoi(entries[0].expression.substr(4));
}

// Starts the save loop on `wave`; returns its pid and the read end of its output.
pid_t startSaveLoop(const std::string& wave, FILE*& out) {
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execl(PW_SAVE_LOOP, PW_SAVE_LOOP, wave.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    out = ::fdopen(fds[0], "r");
    return pid;
}

// The names in `dir` other than the pair's.
std::vector<std::string> othersThan(const std::string& dir, const std::string& wave,
                                    const std::string& side) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path() != wave && e.path() != side)
            out.push_back(e.path());
    return out;
}

} // namespace

TEST(SaveKill, AKilledSaveLeavesTheOldPairOrTheNewPairAndNoTemporaryFileForLong) {
    const std::string dir =
        std::filesystem::temp_directory_path() / ("pw-kill-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string wave = dir + "/w.wfm", side = workspace::HistoryFileName(wave);
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 gen(seed);
    // Processes the save loop leaves behind become this test's children, to be waited for.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    // A 1,048,576-point save takes some milliseconds: the kill lands anywhere in it or in
    // the next one.
    std::uniform_int_distribution<int> delayUs(0, 60000);
    int last = 0;
    std::vector<std::string> leftovers;
    for (int kill = 0; kill < 40; ++kill) {
        FILE* out = nullptr;
        const pid_t pid = startSaveLoop(wave, out);
        ASSERT_GT(pid, 0);
        ASSERT_NE(out, nullptr);
        // The first save after a start has removed what the previous kill left.
        unsigned saved = 0;
        ASSERT_EQ(std::fscanf(out, "saved %u\n", &saved), 1) << "the save loop stopped";
        for (const std::string& f : leftovers)
            EXPECT_FALSE(std::filesystem::exists(f)) << f << " left by kill " << kill - 1;
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(gen)));
        ::kill(pid, SIGKILL);
        // The killed save's own processes (the one that renames a pair) end too before
        // the files are looked at.
        int status = 0;
        while (::waitpid(-1, &status, 0) > 0 || errno == EINTR) {
        }
        std::fclose(out);
        const int w = waveGeneration(wave), s = sideGeneration(side);
        ASSERT_GT(w, 0) << "torn waveform after kill " << kill;
        ASSERT_EQ(w, s) << "mixed pair after kill " << kill;
        EXPECT_GE(w, last);
        last = w;
        // What a killed save can leave: its two temporary files.
        leftovers = othersThan(dir, wave, side);
        EXPECT_LE(leftovers.size(), 2u);
    }
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
    ASSERT_TRUE(platform::writeFilesAtomically({{wave, "last"}, {side, "last"}}));
    EXPECT_TRUE(othersThan(dir, wave, side).empty());
    std::filesystem::remove_all(dir);
}
