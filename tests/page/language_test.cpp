// Language switching from the main window's two choosers.
#include "app/Language.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "AppFixture.h"
#include "TextFit.h"
#include "ui/core/Container.h"
#include "ui/core/Toolkit.h"
#include "ui/text/TextTable.h"

namespace {

using Languages = oaktest::AppFixture;

std::string Resolve(const char* text) {
    return ui::TextTable::Instance().Resolve(text);
}

TEST_F(Languages, StartUpAppliesTheDesktopsLanguageOption) {
    StartApp();  // the fixture's desktop speaks en_US
    EXPECT_EQ(Ui().Find("language_3").GetUserData(), "English.xml");
    EXPECT_EQ(app::CurrentLanguageName(), Ui().Text("language_3"));
    EXPECT_EQ(Frame().GetTitle(), Resolve("%{088}"));
    EXPECT_NE(Resolve("%{301}"), "%{301}");
    EXPECT_TRUE(Ui().IsSelected("language_3"));
    EXPECT_FALSE(Ui().IsSelected("language_1"));
    EXPECT_EQ(app::Languages().modifierKeyNames.at(0x01), Resolve("%{015}"));
    EXPECT_EQ(app::Languages().languageFontMap.size(), 4u);  // Latin, two Chinese, Thai
}

TEST_F(Languages, OptionSwitchRetitlesRefacesAndTellsThePages) {
    StartApp();
    oaktest::NotificationRecorder rec(Frame().GetManager());
    Frame().SetTitle("stale");  // every shipped language titles the window alike
    std::string before = Resolve("%{304}");
    Ui().Click("language_11", "Oakridge");  // Simplified Chinese
    EXPECT_EQ(app::CurrentLanguageName(), "简体中文");
    EXPECT_NE(Resolve("%{304}"), before);
    EXPECT_EQ(rec.Count("Change_Language_Profile"), 1u);
    EXPECT_EQ(Frame().GetTitle(), Resolve("%{088}"));
    EXPECT_EQ(Frame().GetManager().GetDefaultFont().face, "Noto Sans CJK SC");
    EXPECT_EQ(Frame().GetManager().GetFont(1).face, "Noto Sans CJK SC");
    EXPECT_TRUE(Frame().GetManager().GetFont(1).bold);
    EXPECT_EQ(Frame().GetManager().GetFont(13).face, "Loma");  // the Thai option keeps its face
    EXPECT_EQ(Ui().Text("language_combo", "Oakridge"), "简体中文");
    Ui().Snapshot(::testing::TempDir() + "main_sc.png", "Oakridge");
}

TEST_F(Languages, ComboSwitchLoadsTextsOnly) {
    StartApp();
    oaktest::NotificationRecorder rec(Frame().GetManager());
    Frame().SetTitle("stale");
    Ui().SelectComboItem("language_combo", 5, "Oakridge");  // German
    EXPECT_EQ(app::CurrentLanguageName(), "German");
    EXPECT_EQ(rec.Count("Change_Language_Profile"), 0u);
    EXPECT_EQ(Frame().GetTitle(), "stale");
    EXPECT_TRUE(Ui().IsSelected("language_6"));
}

// Language files a test writes, in a folder of its own inside the program's language folder (where
// the loader looks), so a listing of the shipped files never sees them; gone when the test ends.
class ScratchLanguages {
  public:
    ScratchLanguages()
        : folder_("zz-test-" + std::to_string(::getpid())),
          path_(std::filesystem::path(ui::Toolkit::GetResourcePath()) / "Languages" / folder_) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchLanguages() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchLanguages(const ScratchLanguages&) = delete;
    ScratchLanguages& operator=(const ScratchLanguages&) = delete;
    // Writes the file and returns the name the loader takes.
    std::string Write(const std::string& name, const std::string& content) {
        std::ofstream(path_ / name) << content;
        return folder_ + "/" + name;
    }

  private:
    std::string folder_;
    std::filesystem::path path_;
};

TEST_F(Languages, EntriesMissingFromTheNewFileKeepTheOldText) {
    ScratchLanguages files;
    std::string a = files.Write(
        "a.xml",
        R"(<Window><MultiLanguage id="216" value="kept"/><MultiLanguage id="88" value="A"/></Window>)");
    std::string b = files.Write("b.xml", R"(<Window><MultiLanguage id="88" value="B"/></Window>)");
    std::string broken = files.Write("broken.xml", R"(<Window><MultiLanguage id="88" value="C"/>)");
    StartApp();
    Frame().ApplyLanguage(a);
    Frame().ApplyLanguage(b);
    EXPECT_EQ(Resolve("%{216}"), "kept");
    EXPECT_EQ(Frame().GetTitle(), "B");
    Frame().ApplyLanguage(broken);  // malformed: nothing changes
    Frame().ApplyLanguage("no-such-file.xml");
    EXPECT_EQ(Resolve("%{88}"), "B");
}

TEST_F(Languages, AnyRootElementHoldsTheTexts) {
    ScratchLanguages files;
    std::string file = files.Write("root.xml", R"(<?xml version="1.0" encoding="UTF-8"?>
<Texts><MultiLanguage id="88" value="Any root"/><MultiLanguage id="216" value="second"/></Texts>)");
    StartApp();
    Frame().ApplyLanguage(file);
    EXPECT_EQ(Frame().GetTitle(), "Any root");
    EXPECT_EQ(Resolve("%{216}"), "second");
}

}  // namespace

namespace {

// Every language's texts fit the main window; a snapshot of each is left for a person to look at.
TEST_F(Languages, EveryLanguageFitsTheMainWindow) {
    StartApp();
    int options = Ui().Find<ui::Container>("language_option").GetCount();
    ASSERT_EQ(options, 15);
    for (int i = 1; i <= options; ++i) {
        std::string name = "language_" + std::to_string(i);
        Ui().Click(name, "Oakridge");
        for (const auto& problem : oaktest::TextFitProblems(Frame()))
            ADD_FAILURE() << Ui().Text(name, "Oakridge") << ": " << problem;
        Ui().Snapshot(::testing::TempDir() + "main_" + Ui().Find(name, "Oakridge").GetUserData() + ".png",
                      "Oakridge");
    }
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// A copy of the shipped skin in `folder`, for tests that break a file of it.
std::filesystem::path CopyOfSkin(const std::filesystem::path& folder) {
    auto skin = folder / "Skin";
    std::filesystem::copy(ui::Toolkit::GetResourcePath(), skin, std::filesystem::copy_options::recursive);
    return skin;
}

TEST_F(Languages, WithoutLanguageOptionsNothingIsLoaded) {
    // A copy of the skin whose language bar is empty.
    auto skin = CopyOfSkin(TempDir());
    auto mainSkin = skin / "XML/main_frame.xml";
    std::string xml = ReadFile(mainSkin);
    auto from = xml.find("<HorizontalLayout name=\"language_option\"");
    auto to = xml.find("</HorizontalLayout>", from);
    ASSERT_NE(from, std::string::npos);
    xml.replace(from, to - from, "<HorizontalLayout name=\"language_option\">");
    std::ofstream(mainSkin) << xml;
    ui::Toolkit::SetResourcePath(skin.string());
    StartApp();
    EXPECT_EQ(Frame().GetTitle(), "Oakridge");
    EXPECT_EQ(ui::TextTable::Instance().Size(), 0u);
    EXPECT_TRUE(app::CurrentLanguageName().empty());
}

// The start language's file is broken or incomplete: English lies beneath it, so no text is ever
// drawn as a bare reference.
struct BrokenStartFile {
    const char* what;
    std::string (*contents)(const std::string& original);
};

void PrintTo(const BrokenStartFile& file, std::ostream* os) {
    *os << file.what;
}

class BrokenStartLanguage : public oaktest::AppFixture,
                            public ::testing::WithParamInterface<BrokenStartFile> {};

void CollectRawReferences(ui::Control& control, std::vector<std::string>& found) {
    for (const std::string& text : {control.GetResolvedText(), Resolve(control.GetToolTip().c_str())})
        if (text.find("%{") != std::string::npos) found.push_back(control.GetName() + ": " + text);
    if (auto* container = dynamic_cast<ui::Container*>(&control))
        for (int i = 0; i < container->GetCount(); ++i) CollectRawReferences(*container->GetItemAt(i), found);
}

TEST_P(BrokenStartLanguage, ShowsEnglishInstead) {
    auto skin = CopyOfSkin(TempDir());
    setenv("LANG", "fr_CA.UTF-8", 1);
    std::string startFile = "CA-French.xml";  // the desktop's language
    auto path = skin / "Languages" / startFile;
    std::string contents = GetParam().contents(ReadFile(path));
    std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
    ui::Toolkit::SetResourcePath(skin.string());
    StartApp();
    ASSERT_EQ(Ui().Find("language_1").GetUserData(), startFile);
    EXPECT_EQ(Resolve("%{304}"), "Egret Mouse");
    EXPECT_EQ(Frame().GetTitle(), "Oakridge");
    std::vector<std::string> raw;
    CollectRawReferences(*Frame().GetManager().GetRoot(), raw);
    for (const auto& text : raw) ADD_FAILURE() << text;
    // The start language still applies where its file has the text.
    if (std::string(GetParam().what) == "lacks an entry") {
        EXPECT_EQ(Resolve("%{301}"), "Clavier Plover");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Languages, BrokenStartLanguage,
    ::testing::Values(BrokenStartFile{"empty", [](const std::string&) { return std::string(); }},
                      BrokenStartFile{"truncated",
                                      [](const std::string& s) { return s.substr(0, s.size() / 2); }},
                      BrokenStartFile{"not XML", [](const std::string&) { return std::string("Bonjour\n"); }},
                      BrokenStartFile{"lacks an entry",
                                      [](const std::string& s) {
                                          auto at = s.find("<MultiLanguage id=\"304\"");
                                          return s.substr(0, at) + s.substr(s.find('\n', at) + 1);
                                      }}),
    [](const auto& test) {
        std::string name = test.param.what;
        for (auto& c : name)
            if (c == ' ') c = '_';
        return name;
    });

}  // namespace
