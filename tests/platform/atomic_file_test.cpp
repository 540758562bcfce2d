#include "platform/posix/atomic_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

// A rename that fails on one chosen target, as it does for a file owned by another user in
// a shared sticky folder (which a test cannot set up without a second account). These
// definitions take the C library's place in this test program only.
namespace {
std::string failingRenameTarget;
// As on a filesystem that cannot swap two names in one step.
bool noExchange = false;
int renameOrFail(const char* from, const char* to, unsigned flags) {
    if (!failingRenameTarget.empty() && failingRenameTarget == to) {
        errno = EPERM;
        return -1;
    }
    if (noExchange && (flags & RENAME_EXCHANGE)) {
        errno = EINVAL;
        return -1;
    }
    return int(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, flags));
}
} // namespace
extern "C" int rename(const char* from, const char* to) {
    return renameOrFail(from, to, 0);
}
extern "C" int renameat(int, const char* from, int, const char* to) {
    return renameOrFail(from, to, 0);
}
extern "C" int renameat2(int, const char* from, int, const char* to, unsigned flags) {
    return renameOrFail(from, to, flags);
}

using namespace plotwell::platform;

namespace {
std::string tempDir() {
    const auto base = std::filesystem::temp_directory_path() /
                      ("pw-fileio-" + std::to_string(::getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(base);
    return base.string();
}
std::size_t entries(const std::string& dir) {
    return std::size_t(std::distance(std::filesystem::directory_iterator(dir), {}));
}
std::string slurp(const std::string& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}
} // namespace

TEST(AtomicFile, ReplacesTheTargetAndLeavesNoTemporaryFile) {
    const std::string dir = tempDir();
    const std::string target = dir + "/a.wfm";
    ASSERT_TRUE(writeFileAtomically(target, "first"));
    ASSERT_TRUE(writeFileAtomically(target, std::string("sec\0nd", 6)));
    EXPECT_EQ(readFileBytes(target, 1 << 20), std::string("sec\0nd", 6));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    std::filesystem::remove_all(dir);
}

TEST(AtomicFile, AFailedWriteLeavesEveryTargetUnchanged) {
    const std::string dir = tempDir();
    const std::string target = dir + "/keep.wfm";
    {
        std::ofstream f(target, std::ios::binary);
        f << "precious";
    }
    // The second file's folder does not exist: nothing may be replaced.
    EXPECT_FALSE(writeFilesAtomically({{target, "new"}, {dir + "/missing/x.pwi", "h"}}));
    EXPECT_EQ(slurp(target), "precious");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    // A folder in the side file's place: the waveform file is not replaced either.
    std::filesystem::create_directory(dir + "/keep.wfm.pwi");
    EXPECT_FALSE(writeFilesAtomically({{target, "new"}, {dir + "/keep.wfm.pwi", "h"}}));
    EXPECT_EQ(slurp(target), "precious");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
    EXPECT_FALSE(readFileBytes(dir + "/none", 1 << 20));
    EXPECT_FALSE(readFileBytes(dir, 1 << 20));
    std::filesystem::remove_all(dir);
}

TEST(AtomicFile, ALinkedFileIsReplacedThroughItsLink) {
    const std::string dir = tempDir();
    const std::string real = dir + "/real.wfm";
    const std::string link = dir + "/link.wfm";
    ASSERT_TRUE(writeFileAtomically(real, "old"));
    std::filesystem::create_symlink(real, link);
    ASSERT_TRUE(writeFileAtomically(link, "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(slurp(real), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 2);
    std::filesystem::remove_all(dir);
}

TEST(AtomicFile, AWriteProtectedFileIsNotReplaced) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root may write any file";
    const std::string dir = tempDir();
    const std::string target = dir + "/locked.wfm";
    ASSERT_TRUE(writeFileAtomically(target, "precious"));
    std::filesystem::permissions(target, std::filesystem::perms::owner_read);
    EXPECT_FALSE(writeFileAtomically(target, "new"));
    EXPECT_EQ(slurp(target), "precious");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    std::filesystem::remove_all(dir);
}

TEST(AtomicFile, APairReportedAsFailedIsTheOldPairAndOneReportedDoneIsTheNewPair) {
    const std::string dir = tempDir();
    const std::string wave = dir + "/w.wfm", side = dir + "/w.wfm.pwi";
    ASSERT_TRUE(writeFilesAtomically({{wave, "wave 1"}, {side, "side 1"}}));
    // Whichever of the two renames fails, the save fails and both files stay as they were,
    // also where the filesystem cannot swap names.
    for (bool swapless : {false, true}) {
        for (const std::string& failing : {wave, side}) {
            SCOPED_TRACE(failing + (swapless ? " without swaps" : ""));
            failingRenameTarget = failing;
            noExchange = swapless;
            EXPECT_FALSE(writeFilesAtomically({{wave, "wave 2"}, {side, "side 2"}}));
            failingRenameTarget.clear();
            EXPECT_EQ(slurp(wave), "wave 1");
            EXPECT_EQ(slurp(side), "side 1");
            EXPECT_EQ(entries(dir), 2u);
            ASSERT_TRUE(writeFilesAtomically({{wave, "wave 1"}, {side, "side 1"}}));
            noExchange = false;
        }
    }
    // A side file that did not exist before is not left behind by a failed save either.
    std::filesystem::remove(side);
    failingRenameTarget = wave;
    EXPECT_FALSE(writeFilesAtomically({{wave, "wave 2"}, {side, "side 2"}}));
    failingRenameTarget.clear();
    EXPECT_EQ(slurp(wave), "wave 1");
    EXPECT_EQ(entries(dir), 1u);
    ASSERT_TRUE(writeFilesAtomically({{wave, "wave 3"}, {side, "side 3"}}));
    EXPECT_EQ(slurp(wave), "wave 3");
    EXPECT_EQ(slurp(side), "side 3");
    EXPECT_EQ(entries(dir), 2u);
    std::filesystem::remove_all(dir);
}

TEST(AtomicFile, ASpecialFileAtTheTargetIsRefusedNotReplaced) {
    const std::string dir = tempDir();
    const std::string fifo = dir + "/pipe.wfm";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(writeFileAtomically(fifo, "data"));
    EXPECT_FALSE(writeFilesAtomically({{dir + "/ok.wfm", "data"}, {fifo, "side"}}));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(entries(dir), 1u);
    std::filesystem::remove_all(dir);
}

TEST(AtomicFile, NamesUpToTheLongestLegalOneSave) {
    const std::string dir = tempDir();
    for (std::size_t length : {249u, 255u}) {
        const std::string target = dir + "/" + std::string(length - 4, 'n') + ".wfm";
        EXPECT_TRUE(writeFileAtomically(target, "data")) << length;
        EXPECT_EQ(slurp(target), "data");
    }
    EXPECT_EQ(entries(dir), 2u);
    std::filesystem::remove_all(dir);
}

TEST(AtomicFile, ATemporaryFileLeftByAKilledSaveGoesWithTheNextSave) {
    const std::string dir = tempDir();
    // What a save killed between naming its temporary file and renaming it leaves.
    std::ofstream(dir + "/.pw~a1b2c3") << "half";
    std::ofstream(dir + "/.pw~notours.txt") << "a user's file";
    ASSERT_TRUE(writeFileAtomically(dir + "/a.wfm", "data"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/.pw~a1b2c3"));
    EXPECT_EQ(entries(dir), 2u);
    std::filesystem::remove_all(dir);
}

TEST(AtomicFile, OnlyRegularFilesWithinTheLimitAreRead) {
    const std::string dir = tempDir();
    const std::string small = dir + "/small", fifo = dir + "/fifo";
    std::ofstream(small) << "12345";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A writer that never writes: a blocking read would wait for ever.
    const int writer = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    struct Case {
        std::string path;
        std::int64_t limit;
        std::optional<std::string> bytes;
    };
    const Case cases[] = {
        {small, 5, "12345"},
        {small, 4, std::nullopt},
        {fifo, 1 << 20, std::nullopt},
        {"/dev/zero", 1 << 20, std::nullopt},
        {"/dev/null", 1 << 20, std::nullopt},
        {dir, 1 << 20, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readFileBytes(c.path, c.limit), c.bytes) << c.path << " " << c.limit;
    ::close(writer);
    std::filesystem::remove_all(dir);
}
