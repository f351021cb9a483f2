// Every skin document we ship builds without a single reported problem, and a main skin that
// cannot be built ends the program with a dialog that says where.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "AppFixture.h"
#include "UiDriver.h"
#include "app/Application.h"
#include "macro/MarcoListUI.h"
#include "ui/builder/AttributeParsers.h"
#include "ui/builder/Builder.h"
#include "ui/core/Container.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Toolkit.h"
#include "ui/core/Window.h"
#include "ui/layout/SkinPage.h"

namespace {

std::vector<std::string> FilesIn(const char* folder) {
    std::vector<std::string> files;
    for (auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(ui::Toolkit::GetResourcePath()) / folder))
        if (entry.path().extension() == ".xml")
            files.push_back(std::string(folder) + "/" + entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
}

// Every skin document and language file we ship, found by listing their folders, builds without a
// single reported problem. A document that other documents include (a shared part, possibly with
// parameters) is checked through them. Custom classes stand in as plain containers here; what
// the real pages build into them is checked below.
TEST(ShippedSkins, BuildWithoutProblems) {
    oaktest::UiDriver ui;
    auto skins = FilesIn("XML");
    auto languages = FilesIn("Languages");
    ASSERT_FALSE(skins.empty());
    ASSERT_EQ(languages.size(), 15u);
    std::map<std::string, ui::BuildResult> built;
    std::set<std::string> included;
    for (const auto& file : skins) {
        ui::PaintManager manager;
        ui::Builder builder;
        auto result = builder.Build(file, manager, [](std::string_view cls) -> std::unique_ptr<ui::Control> {
            if (cls == "MarcoList") return std::make_unique<MarcoListUI>();
            for (const char* known :
                 {"KeyboardPage", "MousePage", "MacroSetting", "FireMacroSettingPage", "UartLedSettingPage"})
                if (std::string_view(cls).starts_with(known)) return std::make_unique<ui::Container>();
            return nullptr;
        });
        included.insert(result.includes.begin(), result.includes.end());
        built.emplace(file, std::move(result));
    }
    for (const auto& [file, result] : built) {
        if (included.contains(file)) continue;
        EXPECT_TRUE(result.ok) << file;
        EXPECT_TRUE(result.report.Empty()) << result.report.ToString();
    }
    for (const auto& file : languages) {
        ui::PaintManager manager;
        ui::Builder builder;
        auto result = builder.Build(file, manager);
        EXPECT_TRUE(result.ok) << file;
        EXPECT_TRUE(result.report.Empty()) << result.report.ToString();
        EXPECT_EQ(result.root, nullptr) << file << " builds controls";
    }
}

using ShippedPages = oaktest::AppFixture;

// The Ibis page does not create its macro pages and fire-key panel yet, so its skin's elements
// for them are skipped; nothing else may be reported for it.
bool IbisPageBeforeItsSubPages(const ui::SkinPage& page) {
    const auto& problems = page.GetSkinReport().Problems();
    if (!ui::EqualsNoCase(page.GetName(), "page_Ibis") || problems.empty()) return false;
    return std::all_of(problems.begin(), problems.end(), [](const ui::BuildProblem& p) {
        return p.message.starts_with("unknown element <") && p.message.ends_with("Page_Ibis> skipped");
    });
}

// The running program builds every page and panel into one window with the real sub-pages; each
// of those builds reports nothing either (a name repeated in two sub-pages of one page shows here).
TEST_F(ShippedPages, BuildWithoutProblemsInTheRunningProgram) {
    StartApp();
    int pages = 0;
    for (auto* window : ui::Toolkit::Windows()) {
        std::vector<ui::Control*> stack{window->GetManager().GetRoot()};
        while (!stack.empty()) {
            ui::Control* c = stack.back();
            stack.pop_back();
            if (!c) continue;
            if (auto* page = dynamic_cast<ui::SkinPage*>(c)) {
                ++pages;
                if (!IbisPageBeforeItsSubPages(*page)) {
                    EXPECT_TRUE(page->GetSkinReport().Empty()) << c->GetName() << ":\n"
                                                               << page->GetSkinReport().ToString();
                }
            }
            if (auto* container = dynamic_cast<ui::Container*>(c))
                for (int i = 0; i < container->GetCount(); ++i) stack.push_back(container->GetItemAt(i));
        }
    }
    EXPECT_GT(pages, 0);
}

using BrokenMainSkin = oaktest::AppFixture;

// Started from the desktop there is no terminal to read a report on: the user gets a plain dialog
// naming the file and line, and the program ends without a window.
TEST_F(BrokenMainSkin, EndsWithADialogNamingFileAndLine) {
    auto skin = TempDir() / "Skin";
    std::filesystem::copy(ui::Toolkit::GetResourcePath(), skin, std::filesystem::copy_options::recursive);
    ui::Toolkit::SetResourcePath(skin.string());
    auto mainSkin = skin / "XML/main_frame.xml";
    std::stringstream original;
    original << std::ifstream(mainSkin).rdbuf();

    struct Case {
        const char* what;
        std::string contents;  // empty: the file is missing
        std::string expected;
    };
    std::string text = original.str();
    size_t secondLine = text.find('\n') + 1;
    const Case cases[] = {
        {"malformed", text.substr(0, secondLine) + "<Label text=unquoted/>\n" + text.substr(secondLine),
         "XML/main_frame.xml:2: malformed XML"},
        {"missing", "", "XML/main_frame.xml:0: cannot open skin file"},
    };
    auto& shown = Ui().Backend().FatalErrorsShown();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.contents.empty())
            std::filesystem::remove(mainSkin);
        else
            std::ofstream(mainSkin, std::ios::trunc) << c.contents;
        size_t before = shown.size();
        EXPECT_EQ(app::RunMainWindow(), 0);
        ASSERT_EQ(shown.size(), before + 1);
        EXPECT_EQ(shown.back().title, "Oakridge");
        EXPECT_NE(shown.back().text.find(c.expected), std::string::npos) << shown.back().text;
        EXPECT_NE(shown.back().text.find(skin.string()), std::string::npos) << shown.back().text;
        for (auto* window : ui::Toolkit::Windows())
            EXPECT_FALSE(window->HasNativeWindow()) << window->GetWindowClassName();
    }
}

}  // namespace
