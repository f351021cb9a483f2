// The remembered-choices file: what reads as a value, what is ignored, and that a write keeps the
// rest and replaces the file in one step.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "TestFolder.h"
#include "platform/Paths.h"
#include "platform/SettingsStore.h"

namespace {

using platform::SettingsStore;
using platform_test::ScopedEnv;
using platform_test::TestFolder;

class Settings : public ::testing::Test {
  protected:
    void Write(const std::string& bytes) {
        platform::CreateFolderTree(platform::UserConfigFolder());
        std::ofstream(SettingsStore::FilePath(), std::ios::binary) << bytes;
    }
    std::string Read() {
        std::ifstream in(SettingsStore::FilePath(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }
    TestFolder folder_;
    ScopedEnv config_{"XDG_CONFIG_HOME", folder_.Path()};
};

TEST_F(Settings, LivesInTheConfigFolder) {
    EXPECT_EQ(SettingsStore::FilePath(), folder_.Path() + "/oakridge/settings.ini");
    EXPECT_FALSE(SettingsStore::Get("language"));  // no file yet
}

struct FileCase {
    const char* what;
    std::string contents;
    std::optional<std::string> language;
};

class SettingsFile : public Settings, public ::testing::WithParamInterface<FileCase> {};

TEST_P(SettingsFile, ReadsWhatIsOursOnly) {
    Write(GetParam().contents);
    EXPECT_EQ(SettingsStore::Get("language"), GetParam().language) << GetParam().what;
    // Whatever was there, a write succeeds and reads back.
    EXPECT_TRUE(SettingsStore::Set("page", "MousePageCrane"));
    EXPECT_EQ(SettingsStore::Get("page"), "MousePageCrane");
    EXPECT_EQ(SettingsStore::Get("language"), GetParam().language) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Contents, SettingsFile,
    ::testing::Values(FileCase{"plain", "language=Thailand.xml\n", "Thailand.xml"},
                      FileCase{"spaces, CRLF, comments, any case",
                               "# mine\r\n ; too\r\n  LANGUAGE = Russian.xml \r\n", "Russian.xml"},
                      FileCase{"last line wins", "language=SC.xml\nlanguage=TC.xml\n", "TC.xml"},
                      FileCase{"empty", "", std::nullopt},
                      FileCase{"binary", std::string("\x89PNG\r\n\x1a\n\0\0language=x\0", 21), std::nullopt},
                      FileCase{"foreign ini", "[Section]\nkey\n=orphan\ncolour=blue\n", std::nullopt},
                      FileCase{"too large", std::string(20000, 'x') + "\nlanguage=Poland.xml\n",
                               std::nullopt},
                      FileCase{"invalid UTF-8 value", "language=\xff\xfe.xml\n", "\xff\xfe.xml"}),
    [](const auto& test) { return "case" + std::to_string(test.index); });

TEST_F(Settings, AWriteKeepsTheOtherValuesAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(SettingsStore::Set("language", "Germany.xml"));
    ASSERT_TRUE(SettingsStore::Set("file_folder", "/home/user/Profiles"));
    ASSERT_TRUE(SettingsStore::Set("Language", "Russian.xml"));  // names compare without case
    EXPECT_EQ(SettingsStore::Get("language"), "Russian.xml");
    EXPECT_EQ(SettingsStore::Get("FILE_FOLDER"), "/home/user/Profiles");
    EXPECT_EQ(platform_test::Entries(folder_.Path() + "/oakridge"), std::vector<std::string>{"settings.ini"});
}

TEST_F(Settings, ValuesStayOnTheirLine) {
    // A folder name may hold a line break; it must not become a line of its own.
    ASSERT_TRUE(SettingsStore::Set("file_folder", "/tmp/a\nlanguage=Thailand.xml"));
    EXPECT_FALSE(SettingsStore::Get("language"));
    EXPECT_FALSE(SettingsStore::Set("", "x"));
    ASSERT_TRUE(SettingsStore::Set("a=b", "c"));  // '=' cannot be part of a name
    EXPECT_EQ(Read().find("a=b=c"), std::string::npos) << Read();
}

TEST_F(Settings, APlaceThatCannotBeWrittenFailsTheWriteOnly) {
    // A folder where the file belongs: neither readable as settings nor replaceable.
    std::filesystem::create_directories(SettingsStore::FilePath());
    EXPECT_FALSE(SettingsStore::Get("language"));
    EXPECT_FALSE(SettingsStore::Set("language", "Poland.xml"));
    EXPECT_TRUE(std::filesystem::is_directory(SettingsStore::FilePath()));
}

}  // namespace
