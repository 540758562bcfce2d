#include "platform/posix/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace plotwell::platform;

namespace {
std::string tempDir() {
    const auto base = std::filesystem::temp_directory_path() /
                      ("pw-fileio-" + std::to_string(::getpid()) + "-" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(base);
    return base.string();
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
    EXPECT_EQ(readFileBytes(target), std::string("sec\0nd", 6));
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
    EXPECT_FALSE(readFileBytes(dir + "/none"));
    EXPECT_FALSE(readFileBytes(dir));
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
