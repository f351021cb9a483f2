// Saving a profile under a name typed without its extension: ".bin" is added before anything is
// replaced, so the file that would be overwritten is the one the user is asked about.
#include <gtest/gtest.h>

#include <filesystem>

#include "AppFixture.h"
#include "platform/Paths.h"

namespace {

namespace fs = std::filesystem;
constexpr const char* kMain = "Oakridge";

std::string Content(const fs::path& path) {
    auto bytes = platform::ReadFileBytes(path.string());
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

using SaveDialog = oaktest::AppFixture;

TEST_F(SaveDialog, ATypedNameNeverReplacesItsBinFileUnasked) {
    ShowDevice(3);
    const fs::path mine = TempDir() / "mine.bin";
    ASSERT_TRUE(platform::WriteFileAtomic(mine.string(), "precious"));
    oaktest::NotificationRecorder recorder(Frame().GetManager());

    // The user types "mine", declines replacing mine.bin, then cancels the chooser.
    Ui().AnswerFileDialog((TempDir() / "mine").string());
    Ui().AnswerReplaceQuestion(false);
    Ui().AnswerFileDialog(std::nullopt);
    Ui().Click("save_data_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(Ui().ReplaceQuestionsAsked(), std::vector<std::string>{mine.string()});
    EXPECT_EQ(recorder.Count("WRITE_EgretDATA"), 0u);
    EXPECT_TRUE(Content(mine) == "precious") << "mine.bin was replaced";
    EXPECT_FALSE(fs::exists(TempDir() / "mine"));

    // Asked again and confirmed: the profile goes into mine.bin.
    Ui().AnswerFileDialog((TempDir() / "mine").string());
    Ui().AnswerReplaceQuestion(true);
    Ui().Click("save_data_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(Ui().ReplaceQuestionsAsked().size(), 2u);
    EXPECT_EQ(fs::file_size(mine), 2048u);
    EXPECT_FALSE(fs::exists(TempDir() / "mine"));
}

}  // namespace
