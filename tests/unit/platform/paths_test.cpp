// Paths: XDG folders, the private runtime folder, atomic writes and bounded reads.
#include "platform/Paths.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "TestFolder.h"
#include "platform/linux/PrivateFolder.h"

using namespace platform;
using platform_test::Entries;
using platform_test::ScopedEnv;
using platform_test::TestFolder;

namespace {

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(Paths, ProgramFolderIsTheExecutablesFolder) {
    std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(FileExists(folder + "platform_test"));
}

TEST(Paths, StateFolderHonoursXdgStateHomeAndIsCreatedPrivate) {
    TestFolder tmp;
    ScopedEnv env("XDG_STATE_HOME", tmp / "deep/state");
    EXPECT_EQ(UserStateFolder(), tmp / "deep/state/oakridge/");
    EXPECT_TRUE(FolderExists(tmp / "deep/state/oakridge"));
    EXPECT_EQ(ModeOf(tmp / "deep/state/oakridge"), 0700u);
    EXPECT_EQ(ModeOf(tmp / "deep/state"), 0700u);
}

TEST(Paths, StateFolderDefaultsBelowHome) {
    TestFolder tmp;
    ScopedEnv state("XDG_STATE_HOME", nullptr);
    ScopedEnv home("HOME", tmp.Path() + "/");
    EXPECT_EQ(UserStateFolder(), tmp / ".local/state/oakridge/");
    EXPECT_EQ(ModeOf(tmp / ".local/state/oakridge"), 0700u);
}

TEST(Paths, RelativeXdgValuesAreIgnored) {
    TestFolder tmp;
    ScopedEnv state("XDG_STATE_HOME", "relative/state");
    ScopedEnv config("XDG_CONFIG_HOME", "");
    ScopedEnv home("HOME", tmp.Path());
    EXPECT_EQ(UserStateFolder(), tmp / ".local/state/oakridge/");
    EXPECT_EQ(UserConfigFolder(), tmp / ".config/oakridge/");
}

TEST(Paths, ConfigFolderHonoursXdgConfigHome) {
    TestFolder tmp;
    ScopedEnv env("XDG_CONFIG_HOME", tmp / "cfg");
    EXPECT_EQ(UserConfigFolder(), tmp / "cfg/oakridge/");
    EXPECT_EQ(ModeOf(tmp / "cfg/oakridge"), 0700u);
}

TEST(Paths, RuntimeFolderHonoursXdgRuntimeDir) {
    TestFolder tmp;  // mkdtemp makes it 0700, as a desktop's runtime folder is
    ScopedEnv env("XDG_RUNTIME_DIR", tmp.Path());
    EXPECT_EQ(RuntimeFolder(), tmp / "oakridge/");
    EXPECT_EQ(ModeOf(tmp / "oakridge"), 0700u);
}

TEST(Paths, RuntimeFolderFallsBackToPrivateTmpFolder) {
    TestFolder tmp;
    ::chmod(tmp.Path().c_str(), 0755);  // not a valid runtime folder: open to others
    std::string expected = "/tmp/oakridge-" + std::to_string(::getuid()) + "/";
    {
        ScopedEnv env("XDG_RUNTIME_DIR", tmp.Path());
        EXPECT_EQ(RuntimeFolder(), expected);
    }
    {
        ScopedEnv env("XDG_RUNTIME_DIR", nullptr);
        EXPECT_EQ(RuntimeFolder(), expected);
    }
    EXPECT_EQ(ModeOf(expected), 0700u);
    EXPECT_TRUE(linux_impl::IsPrivateFolder(expected));
}

TEST(Paths, PrivateFolderRefusesSymlinksAndFiles) {
    TestFolder tmp;
    ASSERT_TRUE(CreateFolderTree(tmp / "target"));
    ASSERT_EQ(::symlink((tmp / "target").c_str(), (tmp / "link").c_str()), 0);
    EXPECT_FALSE(linux_impl::EnsurePrivateFolder(tmp / "link"));
    ASSERT_TRUE(WriteFileAtomic(tmp / "file", "x"));
    EXPECT_FALSE(linux_impl::EnsurePrivateFolder(tmp / "file"));
    EXPECT_FALSE(linux_impl::EnsurePrivateFolder(tmp / "missing/child"));
}

TEST(Paths, PrivateFolderTightensAnOpenFolderOfOurs) {
    TestFolder tmp;
    ASSERT_EQ(::mkdir((tmp / "open").c_str(), 0755), 0);
    ::chmod((tmp / "open").c_str(), 0755);
    EXPECT_TRUE(linux_impl::EnsurePrivateFolder(tmp / "open"));
    EXPECT_EQ(ModeOf(tmp / "open"), 0700u);
}

TEST(Paths, CreateFolderTreeMakesParentsAndFailsOnAFile) {
    TestFolder tmp;
    EXPECT_TRUE(CreateFolderTree(tmp / "a/b//c/"));
    EXPECT_TRUE(FolderExists(tmp / "a/b/c"));
    EXPECT_TRUE(CreateFolderTree(tmp / "a/b/c"));  // already there
    ASSERT_TRUE(WriteFileAtomic(tmp / "f", "x"));
    EXPECT_FALSE(CreateFolderTree(tmp / "f/sub"));
    EXPECT_FALSE(CreateFolderTree(""));
    EXPECT_FALSE(FolderExists(tmp / "f"));
    EXPECT_TRUE(FileExists(tmp / "f"));
    EXPECT_FALSE(FileExists(tmp / "a"));
}

TEST(Paths, WriteFileAtomicReplacesContentAndLeavesNoTempFile) {
    TestFolder tmp;
    std::string path = tmp / "macro.bin";
    ASSERT_TRUE(WriteFileAtomic(path, "first version, longer than the second"));
    EXPECT_EQ(Slurp(path), "first version, longer than the second");
    EXPECT_EQ(ModeOf(path), 0600u);
    ASSERT_TRUE(WriteFileAtomic(path, "second"));
    EXPECT_EQ(Slurp(path), "second");
    EXPECT_EQ(Entries(tmp.Path()), std::vector<std::string>{"macro.bin"});
}

TEST(Paths, WriteFileAtomicKeepsTheModeOfTheFileItReplaces) {
    TestFolder tmp;
    std::string path = tmp / "shared.txt";
    ASSERT_TRUE(WriteFileAtomic(path, "one"));
    ::chmod(path.c_str(), 0644);
    ASSERT_TRUE(WriteFileAtomic(path, "two"));
    EXPECT_EQ(ModeOf(path), 0644u);
}

TEST(Paths, WriteFileAtomicWritesEmptyAndBinaryData) {
    TestFolder tmp;
    ASSERT_TRUE(WriteFileAtomic(tmp / "empty", "", 0));
    EXPECT_TRUE(FileExists(tmp / "empty"));
    EXPECT_EQ(ReadFileBytes(tmp / "empty")->size(), 0u);
    std::vector<uint8_t> data(200000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
    ASSERT_TRUE(WriteFileAtomic(tmp / "big", data.data(), data.size()));
    EXPECT_EQ(*ReadFileBytes(tmp / "big"), data);
}

TEST(Paths, WriteFileAtomicFailsCleanlyInAMissingFolder) {
    TestFolder tmp;
    EXPECT_FALSE(WriteFileAtomic(tmp / "missing/file.bin", "data"));
    EXPECT_FALSE(FolderExists(tmp / "missing"));
    EXPECT_TRUE(Entries(tmp.Path()).empty());
    EXPECT_FALSE(WriteFileAtomic(tmp.Path() + "/", "data"));
}

TEST(Paths, WriteFileAtomicOverAFolderFailsAndCleansUp) {
    TestFolder tmp;
    ASSERT_TRUE(CreateFolderTree(tmp / "dir"));
    EXPECT_FALSE(WriteFileAtomic(tmp / "dir", "data"));
    EXPECT_EQ(Entries(tmp.Path()), std::vector<std::string>{"dir"});
}

TEST(Paths, ReadFileBytesHonoursTheLimit) {
    TestFolder tmp;
    ASSERT_TRUE(WriteFileAtomic(tmp / "f", "0123456789"));
    EXPECT_EQ(ReadFileBytes(tmp / "f")->size(), 10u);
    auto head = ReadFileBytes(tmp / "f", 4);
    ASSERT_TRUE(head);
    EXPECT_EQ(std::string(head->begin(), head->end()), "0123");
    EXPECT_EQ(ReadFileBytes(tmp / "f", 0)->size(), 0u);
    EXPECT_FALSE(ReadFileBytes(tmp / "nope"));
    EXPECT_FALSE(ReadFileBytes(tmp.Path()));
}
