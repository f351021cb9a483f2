// Temporary files of interrupted atomic writes: the next write into the folder removes them, but
// never one that a save in progress is still writing.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "TestFolder.h"
#include "platform/Paths.h"

using namespace platform;
using platform_test::Entries;
using platform_test::TestFolder;

namespace {

// What a save killed between creating its temporary file and renaming it leaves behind.
void LeaveTempFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::write(fd, "half", 4), 4);
    ::close(fd);
}

}  // namespace

TEST(StaleTempFiles, TheNextWriteRemovesThoseOfInterruptedSaves) {
    TestFolder tmp;
    ASSERT_TRUE(WriteFileAtomic(tmp / "mine.bin", "old"));
    LeaveTempFile(tmp / ".mine.bin.tmp-a1B2c3");
    LeaveTempFile(tmp / ".other.bin.tmp-ZZZZZZ");  // any target's, not only the one written next
    // Not of our naming: kept.
    LeaveTempFile(tmp / "mine.bin.tmp-a1B2c3");
    LeaveTempFile(tmp / ".mine.bin.tmp-a1B2c");
    LeaveTempFile(tmp / ".mine.bin.tmp-a1B2c-");
    LeaveTempFile(tmp / ".tmp-a1B2c3");
    ASSERT_EQ(::mkdir((tmp / ".dir.bin.tmp-a1B2c3").c_str(), 0700), 0);
    ASSERT_EQ(::symlink((tmp / "mine.bin").c_str(), (tmp / ".link.bin.tmp-a1B2c3").c_str()), 0);

    ASSERT_TRUE(WriteFileAtomic(tmp / "other.bin", "new"));
    EXPECT_EQ(Entries(tmp.Path()),
              (std::vector<std::string>{".dir.bin.tmp-a1B2c3", ".link.bin.tmp-a1B2c3", ".mine.bin.tmp-a1B2c",
                                        ".mine.bin.tmp-a1B2c-", ".tmp-a1B2c3", "mine.bin",
                                        "mine.bin.tmp-a1B2c3", "other.bin"}));
}

TEST(StaleTempFiles, ATempFileThatASaveIsWritingStays) {
    TestFolder tmp;
    // A save in progress holds a lock on its temporary file until it has renamed it.
    const std::string busy = tmp / ".mine.bin.tmp-Busy01";
    LeaveTempFile(busy);
    int fd = ::open(busy.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    ASSERT_TRUE(WriteFileAtomic(tmp / "other.bin", "new"));
    EXPECT_TRUE(FileExists(busy));
    ::close(fd);  // the save ended without renaming it: now it is stale
    ASSERT_TRUE(WriteFileAtomic(tmp / "other.bin", "newer"));
    EXPECT_FALSE(FileExists(busy));
}

TEST(StaleTempFiles, SavesRunningSideBySideNeverRemoveEachOthersFiles) {
    TestFolder tmp;
    constexpr int kWriters = 4;
    constexpr int kRounds = 60;
    std::atomic<int> failures{0};
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&, w] {
            std::string path = tmp / ("file" + std::to_string(w) + ".bin");
            std::string data(4096, static_cast<char>('a' + w));
            for (int round = 0; round < kRounds; ++round)
                if (!WriteFileAtomic(path, data)) ++failures;
        });
    }
    for (auto& t : writers) t.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(Entries(tmp.Path()),
              (std::vector<std::string>{"file0.bin", "file1.bin", "file2.bin", "file3.bin"}));
}
