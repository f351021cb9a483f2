// File dialogs around the native chooser: the default extension is added before anything is
// replaced, and an existing file under the completed name is asked about.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <random>

#include "ui/backend/FileDialogFlow.h"

namespace fs = std::filesystem;

namespace {

class ScriptedChooser final : public ui::FileChooser {
  public:
    ScriptedChooser(std::deque<std::optional<std::string>> picks, std::deque<bool> replies)
        : picks_(std::move(picks)), replies_(std::move(replies)) {}

    std::optional<std::string> Pick(const ui::FileDialogRequest& request, bool chooserConfirms) override {
        shown.push_back(request);
        confirms.push_back(chooserConfirms);
        if (picks_.empty()) ADD_FAILURE() << "the chooser was shown more often than the user answered";
        if (picks_.empty()) return std::nullopt;
        auto pick = picks_.front();
        picks_.pop_front();
        return pick;
    }
    bool ConfirmReplace(const std::string& path) override {
        questions.push_back(path);
        if (replies_.empty()) ADD_FAILURE() << "asked about " << path << " without an answer";
        if (replies_.empty()) return false;
        bool reply = replies_.front();
        replies_.pop_front();
        return reply;
    }

    std::vector<ui::FileDialogRequest> shown;
    std::vector<bool> confirms;
    std::vector<std::string> questions;

  private:
    std::deque<std::optional<std::string>> picks_;
    std::deque<bool> replies_;
};

ui::FileDialogRequest SaveBin() {
    ui::FileDialogRequest request;
    request.save = true;
    request.filterPattern = "*.bin";
    request.defaultExtension = "bin";
    request.overwritePrompt = true;
    return request;
}

enum class Kind { SaveBin, SaveNoExtension, SaveNoPrompt, OpenBin };

ui::FileDialogRequest Make(Kind kind) {
    ui::FileDialogRequest request = SaveBin();
    switch (kind) {
        case Kind::SaveBin:
            break;
        case Kind::SaveNoExtension:
            request.defaultExtension.clear();
            break;
        case Kind::SaveNoPrompt:
            request.overwritePrompt = false;
            break;
        case Kind::OpenBin:
            request.save = false;
            request.overwritePrompt = false;
            break;
    }
    return request;
}

struct DialogCase {
    const char* name;
    Kind kind;
    std::vector<std::string> existing;             // files in the folder before the dialog
    std::deque<std::optional<std::string>> picks;  // names the user accepts, relative to the folder
    std::deque<bool> replies;                      // answers to "replace it?"
    std::optional<std::string> result;
    std::vector<std::string> questions;
    bool chooserConfirms;  // what the first chooser was told
};

void PrintTo(const DialogCase& c, std::ostream* os) {
    *os << c.name;
}

class FileDialogFlowTest : public ::testing::TestWithParam<DialogCase> {
  protected:
    void SetUp() override {
        std::random_device rd;
        folder_ = fs::temp_directory_path() / ("oakridge-dialog-" + std::to_string(rd()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string In(const std::string& name) const { return (folder_ / name).string(); }

    fs::path folder_;
};

TEST_P(FileDialogFlowTest, SettlesOnThePathItAskedAbout) {
    const DialogCase& c = GetParam();
    for (const auto& name : c.existing) std::ofstream(In(name)) << "precious";
    std::deque<std::optional<std::string>> picks;
    for (const auto& pick : c.picks)
        picks.push_back(pick ? std::optional<std::string>(In(*pick)) : std::nullopt);
    ScriptedChooser chooser(picks, c.replies);

    auto result = ui::RunFileDialog(Make(c.kind), chooser);

    EXPECT_EQ(result, c.result ? std::optional<std::string>(In(*c.result)) : std::nullopt);
    std::vector<std::string> questions;
    for (const auto& q : c.questions) questions.push_back(In(q));
    EXPECT_EQ(chooser.questions, questions);
    ASSERT_FALSE(chooser.confirms.empty());
    EXPECT_EQ(chooser.confirms[0], c.chooserConfirms);
    for (const auto& name : c.existing) {
        std::ifstream in(In(name));
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(text, "precious") << "a dialog never writes";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileDialogFlowTest,
    ::testing::Values(
        DialogCase{"TypedWithoutExtensionAsksAboutTheCompletedFile",
                   Kind::SaveBin,
                   {"mine.bin"},
                   {"mine", std::nullopt},
                   {false},
                   std::nullopt,
                   {"mine.bin"},
                   false},
        DialogCase{"ReplacingTheCompletedFileWhenTheUserSaysSo",
                   Kind::SaveBin,
                   {"mine.bin"},
                   {"mine"},
                   {true},
                   "mine.bin",
                   {"mine.bin"},
                   false},
        DialogCase{"DecliningGoesBackToTheChooser",
                   Kind::SaveBin,
                   {"mine.bin"},
                   {"mine", "other"},
                   {false},
                   "other.bin",
                   {"mine.bin"},
                   false},
        DialogCase{"ANewNameIsNotAskedAbout", Kind::SaveBin, {"mine"}, {"mine"}, {}, "mine.bin", {}, false},
        DialogCase{"TypedWithTheExtension",
                   Kind::SaveBin,
                   {"mine.bin"},
                   {"mine.bin"},
                   {true},
                   "mine.bin",
                   {"mine.bin"},
                   false},
        DialogCase{"AnotherExtensionIsKept", Kind::SaveBin, {}, {"my.profile"}, {}, "my.profile", {}, false},
        DialogCase{"WithoutADefaultExtensionTheChooserAsks",
                   Kind::SaveNoExtension,
                   {"mine"},
                   {"mine"},
                   {},
                   "mine",
                   {},
                   true},
        DialogCase{"NoPromptWanted", Kind::SaveNoPrompt, {"mine.bin"}, {"mine"}, {}, "mine.bin", {}, false},
        DialogCase{
            "OpenReturnsThePickedFileAsItIs", Kind::OpenBin, {"mine"}, {"mine"}, {}, "mine", {}, false},
        DialogCase{"Cancelled", Kind::SaveBin, {}, {std::nullopt}, {}, std::nullopt, {}, false}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(FileDialogFlow, TheChooserComesBackWhereTheUserWas) {
    std::random_device rd;
    fs::path folder = fs::temp_directory_path() / ("oakridge-dialog-" + std::to_string(rd()));
    fs::create_directories(folder);
    std::ofstream((folder / "mine.bin").string()) << "precious";
    ScriptedChooser chooser({(folder / "mine").string(), std::nullopt}, {false});
    EXPECT_EQ(ui::RunFileDialog(SaveBin(), chooser), std::nullopt);
    ASSERT_EQ(chooser.shown.size(), 2u);
    EXPECT_EQ(chooser.shown[1].initialFolder, folder.string());
    EXPECT_EQ(chooser.shown[1].initialName, "mine");
    fs::remove_all(folder);
}

}  // namespace
