// The macro folder view of each mouse model as its user meets it: the files of the working macro folder as a
// tree, and what each menu command leaves on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "AppFixture.h"
#include "MacroModels.h"
#include "TextFit.h"
#include "macro/MacroCodec.h"
#include "macro/MacroFileFormat.h"
#include "macro/MacroFolderPage.h"
#include "macro/MacroStore.h"
#include "macro/MarcoListUI.h"
#include "macro/StepText.h"
#include "ui/controls/Combo.h"
#include "ui/controls/ComboDropWindow.h"
#include "ui/controls/Option.h"
#include "ui/controls/TreeView.h"
#include "ui/core/VirtualKeys.h"
#include "ui/text/TextTable.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kMain = "Oakridge";
constexpr const char* kMenu = "CMenuWnd";

// Macros of a left click (press, 50 ms, release) in `model`'s encoding.
MacroList Macros(DeviceModel model, std::initializer_list<const char16_t*> names) {
    const std::vector<MacroStep> click{{0xA1, 0xA1, {}}, {0xFE, 50, {}}, {0x21, 0x21, {}}};
    MacroList list;
    for (const char16_t* name : names) list.Add(MacroEntry{name, EncodeMacro(model, click, {}), 0});
    return list;
}

void WriteFile(DeviceModel model, const fs::path& path, const MacroList& list) {
    const auto bytes = SerializeMacroRecords(model, list);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class MacroFolder : public oaktest::OverMacroModels<oaktest::AppFixture> {
  protected:
    // The working folder holds "Fps.bin" (Burst, Spray) and "Moba.bin" (Combo).
    void OpenFolderView() {
        if (Hosted()) {
            ShowMacroPages(true);
        } else {
            StartApp();
            WaitForDeviceTasks();
        }
        // Only these two files, whatever the first start copied from the program folder.
        fs::remove_all(Folder());
        fs::create_directories(Folder());
        WriteFile(Model(), Folder() / "Fps.bin", Macros(Model(), {u"Burst", u"Spray"}));
        WriteFile(Model(), Folder() / "Moba.bin", Macros(Model(), {u"Combo"}));
        MacroStore::Instance().SyncMacroFolder(Model());
        Page().Reload();
        if (Hosted()) return;
        Ui().SelectComboItem("device_combo", GetParam().device, kMain);
        Ui().Click(N("marco_manager"), kMain);
        Ui().Click(N("macro_view_folder"), kMain);
    }
    fs::path Folder() { return fs::path(MacroStore::Instance().WorkingFolder()) / Format().folderName; }
    MacroFolderPage& Page() { return Ui().Find<MacroFolderPage>(N("macro_folder_page"), Win()); }
    // The page's own controls: the file page holds controls of the same names.
    ui::TreeView& Tree() { return *Page().FindOwn<ui::TreeView>("Marco_Info_list"); }
    MarcoListUI& Steps() { return *Page().FindOwn<MarcoListUI>("Marco_Content_list"); }
    std::vector<std::string> Nodes() {
        std::vector<std::string> texts;
        for (int i = 0; i < Tree().GetCount(); ++i)
            texts.push_back((Tree().NodeAt(i)->GetParentNode() ? "  " : "") + Tree().NodeAt(i)->GetText());
        return texts;
    }
    // Clicks a control of this page: the file page, hidden beside it, holds controls of the same names.
    void ClickOwn(const std::string& base) {
        Layout();
        Ui().ClickAt(Page().FindOwn(base)->GetPos().Center(), Win());
    }
    void InsertFromCombo(int index) {
        ClickOwn("macro_insert_combo");
        ui::ComboDropWindow* drop = Page().FindOwn<ui::Combo>("macro_insert_combo")->GetDropWindow();
        ASSERT_NE(drop, nullptr);
        Ui().ClickAt(drop->RowRect(index).Center(), "ComboWnd");
    }
    void Layout() { Ui().Window(Win()).GetManager().LayoutIfNeeded(); }
    void ClickNode(const std::string& text) {
        Layout();
        for (int i = 0; i < Tree().GetCount(); ++i)
            if (Tree().NodeAt(i)->GetText() == text)
                return Ui().ClickAt(Tree().NodeAt(i)->GetPos().Center(), Win());
        ADD_FAILURE() << "no node " << text;
    }
    void ClickBelowNodes() {
        Layout();
        Ui().ClickAt({Tree().GetPos().Center().x, Tree().GetPos().bottom - 8}, Win());
        ASSERT_EQ(Tree().GetCurSel(), -1);
    }
    // Right-clicks the tree where it is and chooses `command` from its menu.
    void Menu(const std::string& command) {
        Layout();
        ui::TreeNode* node = Tree().GetSelectedNode();
        ui::Point at = node ? node->GetPos().Center()
                            : ui::Point{Tree().GetPos().Center().x, Tree().GetPos().bottom - 8};
        Ui().RightClickAt(at, Win());
        Ui().Click(command, kMenu);
    }
    void AnswerName(const std::string& name) {
        Ui().AnswerModal(Dialog(), [this, name](ui::WindowImplBase&) {
            Ui().Click(N("result_value"), Dialog());
            Ui().PressKey(ui::kVkA, ui::kModCtrl);
            Ui().TypeText(name);
            Ui().Click(N("btn_ok"), Dialog());
        });
    }
    std::vector<std::string> OnDisk(const std::string& key) {
        std::ifstream in(Folder() / key, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<std::string> names;
        for (const auto& entry : ParseMacroRecords(Model(), bytes))
            names.push_back(MacroManagerPage::ToUtf8(entry->name));
        return names;
    }
};

TEST_P(MacroFolder, ShowsEachFileWithItsMacros) {
    OpenFolderView();
    EXPECT_EQ(Nodes(), (std::vector<std::string>{"Fps", "  Burst", "  Spray", "Moba", "  Combo"}));
    ClickNode("Spray");
    EXPECT_EQ(Steps().RowCount(), 3);
    EXPECT_EQ(Page().SelectedFileKey(), "Fps.bin");
    ClickNode("Moba");  // a file shows no steps
    EXPECT_EQ(Steps().RowCount(), 0);
    Ui().Snapshot(::testing::TempDir() + "macro_folder_page.png", Win());
}

// The folder page names modifier steps in the model's own words: the Egret's in the language's
// texts, the Ibis's with the fixed short names.
TEST_P(MacroFolder, ModifierStepsCarryTheModelsWords) {
    OpenFolderView();
    MacroList list;
    list.Add(MacroEntry{
        u"Win", EncodeMacro(Model(), std::vector<MacroStep>{{0x81, 0x08, {}}, {0x01, 0x02, {}}}, {}), 0});
    WriteFile(Model(), Folder() / "Keys.bin", list);
    MacroStore::Instance().SyncMacroFolder(Model());
    Page().Reload();
    ClickNode("Win");
    ASSERT_EQ(Steps().RowCount(), 2);
    // The Egret's rows carry the text references, resolved when drawn.
    const bool languageWords = std::string(GetParam().suffix) == "Egret";
    const std::string win = languageWords ? "}%{195}" : "}LWin";
    const std::string shift = languageWords ? "}%{017}" : "}Shift";
    EXPECT_TRUE(Steps().RowAt(0)->text.ends_with(win)) << Steps().RowAt(0)->text;
    EXPECT_TRUE(Steps().RowAt(1)->text.ends_with(shift)) << Steps().RowAt(1)->text;
}

TEST_P(MacroFolder, DeletingAFileRemovesItFromTheWorkingFolder) {
    OpenFolderView();
    ClickNode("Burst");
    Ui().PressInNextModal(Dialog(), N("btn_ok"));
    ClickOwn("DeleteMarcoButton");
    EXPECT_EQ(OnDisk("Fps.bin"), (std::vector<std::string>{"Spray"}));

    ClickNode("Fps");
    Ui().PressInNextModal(Dialog(), N("btn_ok"));
    Menu("menu_Name_Delete");
    EXPECT_FALSE(fs::exists(Folder() / "Fps.bin"));
    EXPECT_EQ(Nodes(), (std::vector<std::string>{"Moba", "  Combo"}));
    EXPECT_EQ(MacroStore::Instance().FileSet(Model()).count("Fps.bin"), 0u);
    // Cancelling deletes nothing.
    ClickNode("Moba");
    Ui().PressInNextModal(Dialog(), N("btn_cancel"));
    Menu("menu_Name_Delete");
    EXPECT_TRUE(fs::exists(Folder() / "Moba.bin"));
}

TEST_P(MacroFolder, ImportingWithNothingSelectedAddsANodeNamedAfterTheFile) {
    OpenFolderView();
    const fs::path outside = TempDir() / "Raid.bin";
    WriteFile(Model(), outside, Macros(Model(), {u"Heal", u"Shield"}));

    ClickBelowNodes();
    Ui().AnswerFileDialog(outside.string());
    Menu("menu_Name_Import");
    EXPECT_EQ(Nodes(), (std::vector<std::string>{"Fps", "  Burst", "  Spray", "Moba", "  Combo", "Raid",
                                                 "  Heal", "  Shield"}));
    // Written at once, so the next start still finds it.
    EXPECT_EQ(OnDisk("Raid.bin"), (std::vector<std::string>{"Heal", "Shield"}));

    // With a macro selected, the file's macros join that macro's file.
    ClickNode("Combo");
    Ui().AnswerFileDialog(outside.string());
    Menu("menu_Name_Import");
    EXPECT_EQ(OnDisk("Moba.bin"), (std::vector<std::string>{"Combo", "Heal", "Shield"}));
    EXPECT_EQ(Page().SelectedFileKey(), "Moba.bin");

    // A cancelled dialog changes nothing; so does a file that cannot be read.
    ClickBelowNodes();
    const size_t rows = Nodes().size();
    Ui().AnswerFileDialog(std::nullopt);
    Menu("menu_Name_Import");
    Ui().AnswerFileDialog((TempDir() / "missing.bin").string());
    Menu("menu_Name_Import");
    EXPECT_EQ(Nodes().size(), rows);
    EXPECT_FALSE(fs::exists(Folder() / "missing.bin"));

    // Export writes the selected file where the user chose.
    ClickNode("Fps");
    const fs::path exported = TempDir() / "out.bin";
    Ui().AnswerFileDialog(exported.string());
    Menu("menu_Name_Export");
    EXPECT_EQ(fs::file_size(exported), 2u * Format().recordSize);
}

TEST_P(MacroFolder, RenameRefusesANameAlreadyTaken) {
    OpenFolderView();
    struct Case {
        const char* node;
        const char* name;
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {"Fps", "Moba", {"Fps", "  Burst", "  Spray", "Moba", "  Combo"}},     // another file's name
        {"Spray", "Combo", {"Fps", "  Burst", "  Spray", "Moba", "  Combo"}},  // a macro of another file
        {"Fps", "Shooter", {"Shooter", "  Burst", "  Spray", "Moba", "  Combo"}},
        {"Spray", "Spread", {"Shooter", "  Burst", "  Spread", "Moba", "  Combo"}},
    };
    for (const auto& c : cases) {
        ClickNode(c.node);
        AnswerName(c.name);
        Menu("menu_Name_ChangeName");
        EXPECT_EQ(Nodes(), c.after) << c.node << " -> " << c.name;
    }
    EXPECT_FALSE(fs::exists(Folder() / "Fps.bin"));
    EXPECT_EQ(OnDisk("Shooter.bin"), (std::vector<std::string>{"Burst", "Spread"}));
    EXPECT_EQ(OnDisk("Moba.bin"), (std::vector<std::string>{"Combo"}));
}

TEST_P(MacroFolder, NewFilesAndMacrosAreSavedAndEditedLikeTheFilePage) {
    OpenFolderView();
    // A new macro needs a file; a new file needs a name no file has.
    ClickBelowNodes();
    ClickOwn("AddMarcoButton");  // asks nothing
    EXPECT_EQ(Nodes().size(), 5u);
    AnswerName("Moba");
    Menu("menu_Name_New_File");
    EXPECT_EQ(Nodes().size(), 5u);

    AnswerName("Tools");
    Menu("menu_Name_New_File");
    EXPECT_TRUE(fs::exists(Folder() / "Tools.bin"));
    EXPECT_EQ(Page().SelectedFileKey(), "Tools.bin");
    AnswerName("Burst");  // taken in another file
    ClickOwn("AddMarcoButton");
    EXPECT_TRUE(OnDisk("Tools.bin").empty());
    AnswerName("Click");
    ClickOwn("AddMarcoButton");
    EXPECT_EQ(Nodes().back(), "  Click");
    EXPECT_EQ(OnDisk("Tools.bin"), (std::vector<std::string>{"Click"}));

    InsertFromCombo(3);
    EXPECT_EQ(Steps().RowCount(), 3);
    const auto& saved = MacroStore::Instance().FileSet(Model()).at("Tools.bin")[0].data;
    EXPECT_EQ(saved, GetParam().newMacroClick);
    std::ifstream in(Folder() / "Tools.bin", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The Heron driver's loading keeps the field's zero filler.
    auto read = ParseMacroRecords(Model(), bytes)[0].data;
    read.resize(std::min(read.size(), saved.size()));
    EXPECT_EQ(read, saved);
}

TEST_P(MacroFolder, AFileNeverGrowsPastWhatLoadingReads) {
    OpenFolderView();
    const size_t max = kMacroFileReadLimit / FileFormat(Model()).recordSize;
    MacroList big;
    for (size_t i = 0; i + 1 < max; ++i)
        big.Add(MacroEntry{u"b" + std::u16string(1, static_cast<char16_t>(0x4E00 + i)), {0x00}, 0});
    WriteFile(Model(), Folder() / "Big.bin", big);
    MacroStore::Instance().SyncMacroFolder(Model());
    Page().Reload();
    const fs::path outside = TempDir() / "Two.bin";
    WriteFile(Model(), outside, Macros(Model(), {u"Heal", u"Shield"}));
    auto expectMessage = [&](const char* reference) {
        Ui().AnswerModal("MessageBox", [this, reference](ui::WindowImplBase&) {
            EXPECT_EQ(Ui().Text("label_display", "MessageBox"), ui::TextTable::Instance().Resolve(reference));
            Ui().Click("btn_ok", "MessageBox");
        });
    };
    auto& files = MacroStore::Instance().FileSet(Model());

    // Two more do not fit: nothing is imported, in memory or on disk.
    ClickNode("Big");
    Ui().AnswerFileDialog(outside.string());
    expectMessage("%{526}");
    Menu("menu_Name_Import");
    EXPECT_EQ(files.at("Big.bin").size(), max - 1);
    EXPECT_EQ(OnDisk("Big.bin").size(), max - 1);

    // One more fits; the one after it is refused.
    ClickNode("Big");
    AnswerName("Last");
    ClickOwn("AddMarcoButton");
    EXPECT_EQ(OnDisk("Big.bin").size(), max);
    ClickNode("Big");
    expectMessage("%{525}");
    ClickOwn("AddMarcoButton");
    EXPECT_EQ(files.at("Big.bin").size(), max);
    EXPECT_EQ(OnDisk("Big.bin").size(), max);
}

TEST_P(MacroFolder, TextsFitInEveryLanguage) {
    OpenFolderView();
    ClickNode("Burst");
    for (int i = 1; i <= 15; ++i) {
        std::string option = "language_" + std::to_string(i);
        Ui().Click(option, kMain);
        for (const auto& problem : oaktest::TextFitProblems(Ui().Window(Win())))
            // Step rows are measured with their markup as plain text, far wider than drawn.
            if (problem.find("{i Image") == std::string::npos)
                ADD_FAILURE() << Ui().Text(option, kMain) << ": " << problem;
        Layout();
        Ui().RightClickAt(Tree().GetSelectedNode()->GetPos().Center(), Win());
        for (const auto& problem : oaktest::TextFitProblems(Ui().Window(kMenu)))
            ADD_FAILURE() << Ui().Text(option, kMain) << " menu: " << problem;
        Ui().PressKey(ui::kVkEscape);
        const std::string language = Ui().Text(option, kMain);
        if (oaktest::PicturedLanguage(language))
            Ui().Snapshot(oaktest::MacroSnapshotPath("macro_folder_page_" + std::string(GetParam().suffix) +
                                                     "_" + language),
                          Win());
    }
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Models, MacroFolder, ::testing::ValuesIn(oaktest::kMacroModels),
                         oaktest::MacroModelName);

namespace {

using HeronFolder = MacroFolder;

// A macro recorded in a folder file with the stop end mode keeps it in that file and shows it again
// when the folder is read anew.
TEST_P(HeronFolder, StopEndModeRoundTripsThroughRecordSaveAndReload) {
    OpenFolderView();
    ClickNode("Moba");
    AnswerName("Held");
    ClickOwn("AddMarcoButton");
    ASSERT_EQ(Nodes().back(), "  Held");
    ClickOwn("circle_stop");
    ClickOwn("recordButton");
    Ui().KeyDown(ui::kVkA);
    Ui().AdvanceClock(100);
    Ui().KeyUp(ui::kVkA);
    ClickOwn("recordButton");
    auto rows = [this] {
        std::vector<std::pair<int, int>> out;
        for (int i = 0; i < Steps().RowCount(); ++i)
            out.emplace_back(Steps().RowAt(i)->tag, Steps().RowAt(i)->value);
        return out;
    };
    const std::vector<std::pair<int, int>> want{{0x82, 0x04}, {0xFE, 96}, {0x02, 0x04}};
    ASSERT_EQ(rows(), want);
    std::ifstream in(Folder() / "Moba.bin", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const MacroList onDisk = ParseMacroRecords(Model(), bytes);
    ASSERT_EQ(onDisk.size(), 2u);
    EXPECT_EQ(onDisk[1].data.front(), 0x01);

    // The page's choice goes back to continue; the folder read anew shows the macro's stop. A macro
    // without a loop entry still carries its end mode in its first byte.
    ClickOwn("circle_continue");
    // Stop, the length (3: A1, FC and the check byte), a left press, FC, (0x03 + 0xA1 + 0xFC) XOR 0x5A.
    std::vector<uint8_t> stopWithoutLoop{0x01, 0x03, 0xA1, 0xFC, 0xFA};
    if (GetParam().loopAt == 3) stopWithoutLoop.insert(stopWithoutLoop.begin() + 1, 0x00);  // 16-bit length
    MacroList bare;
    bare.Add(MacroEntry{u"Bare", stopWithoutLoop, 0});
    WriteFile(Model(), Folder() / "Raw.bin", bare);
    MacroStore::Instance().SyncMacroFolder(Model());
    Page().Reload();
    ClickNode("Held");
    EXPECT_EQ(rows(), want);
    EXPECT_TRUE(Page().FindOwn<ui::Option>("circle_stop")->IsSelected());
    EXPECT_FALSE(Page().FindOwn<ui::Option>("circle_continue")->IsSelected());
    // A macro of the other file that continues shows continue.
    ClickNode("Combo");
    EXPECT_TRUE(Page().FindOwn<ui::Option>("circle_continue")->IsSelected());
    ClickNode("Bare");
    EXPECT_EQ(rows(), (std::vector<std::pair<int, int>>{{0xA1, 0xA1}}));
    EXPECT_TRUE(Page().FindOwn<ui::Option>("circle_stop")->IsSelected());
    ClickNode("Combo");
    Ui().Snapshot(::testing::TempDir() + "heron_folder_page_" + GetParam().suffix + ".png", Win());
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(HeronFamily, HeronFolder, ::testing::ValuesIn(oaktest::HeronMacroModels()),
                         oaktest::MacroModelName);
