// Reading a file of unknown trust: every way it can fail is a result, and memory stays bounded.
#include "harness.h"
#include "platform/backend.h"
#include "platform/file_read.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using platform::DiskRead;
using platform::ReadFileBytes;

class FileReadTest : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = test::TempDir("fileread"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string write(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ + "/" + name, std::ios::binary) << text;
        return dir_ + "/" + name;
    }
    std::string dir_;
};

TEST_F(FileReadTest, ReadsTheWholeFileAndOneBytePastTheLimitAtMost) {
    const std::string path = write("f", std::string(200000, 'x') + "end");
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(ReadFileBytes(path, 1 << 20, bytes), DiskRead::Read);
    EXPECT_EQ(bytes.size(), 200003u);
    EXPECT_EQ(std::string(bytes.end() - 3, bytes.end()), "end");
    ASSERT_EQ(ReadFileBytes(path, 100, bytes), DiskRead::Read);
    EXPECT_EQ(bytes.size(), 101u); // the caller sees that there is more
    ASSERT_EQ(ReadFileBytes(write("empty", ""), 100, bytes), DiskRead::Read);
    EXPECT_TRUE(bytes.empty());
}

TEST_F(FileReadTest, EveryFailureIsAResultWithNoBytes) {
    std::filesystem::create_directory(dir_ + "/folder");
    std::filesystem::create_symlink("/proc/self/mem", dir_ + "/mem");
    std::filesystem::create_symlink(dir_ + "/loop", dir_ + "/loop");
    const struct {
        std::string path;
        DiskRead outcome;
    } cases[] = {{dir_ + "/none", DiskRead::Missing},
                 {dir_ + "/loop", DiskRead::Missing},
                 {dir_ + "/folder", DiskRead::NotAFile},
                 {"/dev/zero", DiskRead::NotAFile},
                 {dir_ + "/mem", DiskRead::Failed}};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes{1, 2, 3};
        EXPECT_EQ(ReadFileBytes(c.path, 1000, bytes), c.outcome) << c.path;
        EXPECT_TRUE(bytes.empty()) << c.path;
    }
}

// The game's own reads: a file that says it is larger than the limit is not read and keeps the
// size it says; one that says less but gives more (the files of /proc say 0) is cut one byte
// past the limit.
TEST_F(FileReadTest, TheGameReadsAFileTooLargeNoFurtherThanItMust) {
    using Status = platform::FileRead::Status;
    const struct {
        std::string path;
        Status status;
        std::uint64_t size;
    } cases[] = {{write("large", std::string(5000, 'x')), Status::TooLarge, 5000},
                 {"/proc/self/status", Status::TooLarge, 101},
                 {write("limit", std::string(100, 'x')), Status::Read, 100},
                 {"/dev/zero", Status::NotAFile, 0}};
    for (const auto& c : cases) {
        const platform::FileRead read = platform::ReadFile(c.path, 100);
        EXPECT_EQ(read.status, c.status) << c.path;
        EXPECT_EQ(read.size, c.size) << c.path;
        EXPECT_EQ(read.bytes.size(), c.status == Status::Read ? c.size : 0u) << c.path;
    }
}

TEST_F(FileReadTest, AFileWithoutReadPermissionDoesNotOpen) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    const std::string path = write("locked", "x");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    std::vector<std::uint8_t> bytes;
    EXPECT_EQ(ReadFileBytes(path, 10, bytes), DiskRead::NoAccess);
}

} // namespace
