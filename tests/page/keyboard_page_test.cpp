// The Plover keyboard page, its key editor and its macro window, driven like a user against the
// simulated Plover, with what the program wrote read back from the library.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "AppFixture.h"
#include "SimControl.h"
#include "TextFit.h"
#include "assign/KeyCodes.h"
#include "device/DeviceLibraryBinding.h"
#include "device/DeviceName.h"
#include "device/SharedState.h"
#include "keyboard/CDialogKeySetting.h"
#include "keyboard/KeyEdit.h"
#include "keyboard/KeyTables.h"
#include "keyboard/MarcoManger.h"
#include "macro/MacroCodec.h"
#include "macro/MacroFilePage.h"
#include "macro/MacroStore.h"
#include "macro/MarcoListUI.h"
#include "page/ProfileFiles.h"
#include "platform/Paths.h"
#include "ui/controls/Button.h"
#include "ui/controls/Combo.h"
#include "ui/controls/List.h"
#include "ui/core/Container.h"
#include "ui/core/VirtualKeys.h"
#include "ui/text/TextTable.h"

namespace {

namespace fs = std::filesystem;
using K = KeyboardConfig;
using keyboard::CDialogKeySetting;
using keyboard::KeyTable;

constexpr const char* kMain = "Oakridge";
constexpr const char* kEditor = "KeyEdit";
constexpr const char* kMacroWindow = "MarcoManagerPage";
constexpr int kSpace = 0x2C;

// What the simulated keyboard holds, through its own library calls.
struct Held {
    std::array<KeyTable, 2> tables{};
    std::array<std::array<uint8_t, 4>, 2> led{};
    int profile = -1;
    std::vector<std::pair<std::u16string, std::vector<uint8_t>>> macros;  // by slot, while filled
};

DeviceLibraryBinding& Opened() {
    auto& b = DeviceLibraryBinding::Instance();
    b.Call(EntryPoint::InitMCUDevice, int32_t{kLumenorVid}, int32_t{kPloverPid});
    return b;
}

Held Keyboard() {
    auto& b = Opened();
    Held held;
    KeyboardConfig led;
    for (int p = 0; p < 2; ++p) {
        b.ReadKeyTable(p, held.tables[static_cast<size_t>(p)]);
        b.ReadLedBlock(led, p);
    }
    held.led = led.ledBlocks;
    int32_t profile = -1;
    b.Call(EntryPoint::Device_GetProFileIndex, &profile);
    held.profile = profile;
    for (int32_t slot = 0; slot < K::kMaxMacros; ++slot) {
        std::array<uint8_t, 32> name{};
        std::vector<uint8_t> events(144);
        if (b.Call(EntryPoint::Device_GetMarcoData, slot, AsBuffer(name), AsBuffer(events)) != 0) break;
        held.macros.emplace_back(DecodeDeviceName(name.data(), name.size()), events);
    }
    return held;
}

std::vector<uint8_t> Image() {
    std::vector<uint8_t> image(K::kImageSize);
    Opened().Call(EntryPoint::Device_ReadEEPromData, image.data());
    return image;
}

std::vector<uint8_t> DefaultFile() {
    return *platform::ReadFileBytes(BinFolder() + CDialogKeySetting::kDefaultFile);
}

// Where the pictures go: OAKRIDGE_SNAPSHOT_DIR when set, for a person to look at, else the test's
// own folder.
std::string ShotPath(const std::string& name) {
    const char* dir = std::getenv("OAKRIDGE_SNAPSHOT_DIR");
    return (dir && *dir ? std::string(dir) + "/" : ::testing::TempDir()) + name + ".png";
}

class KeyboardPage : public oaktest::AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        page::ProfileFiles::SetMessageShower(
            [this](ui::WindowImplBase*, const std::string& text) { messages_.push_back(text); });
    }
    void TearDown() override {
        page::ProfileFiles::SetMessageShower(nullptr);
        AppFixture::TearDown();
    }
    void Open() {
        StartApp();
        WaitForDeviceTasks();
        ASSERT_TRUE(Ui().SkinErrors().empty()) << Ui().SkinErrors().front();
        ASSERT_TRUE(Page().IsConnected());
    }
    CDialogKeySetting& Page() { return PageOf<CDialogKeySetting>(DeviceModel::Plover); }
    KeyboardConfig& Config() { return Page().Config(); }
    std::string Picture(int index) {
        return Ui().Find(keyboard::KeyEntryName(index), kMain).GetNormalImage();
    }
    // Opens the key editor on the key at `index` (or the Fn keys) and lets `act` work in it.
    void Edit(const std::string& button, const std::function<void(keyboard::KeyEdit&)>& act) {
        bool opened = false;
        Ui().AnswerModal(kEditor, [&](ui::WindowImplBase& w) {
            opened = true;
            act(dynamic_cast<keyboard::KeyEdit&>(w));
        });
        Ui().Click(button, kMain);
        Ui().RunUntilIdle();
        ASSERT_TRUE(opened) << button;
    }
    void EditKey(int index, const std::function<void(keyboard::KeyEdit&)>& act) {
        Edit(keyboard::KeyEntryName(index), act);
    }
    void Write() {
        Ui().Click("write_data_Plover", kMain);
        WaitForDeviceTasks();
    }
    // The page's own state and what its write button shows agree.
    bool Pending() {
        EXPECT_EQ(Ui().Find<ui::Button>("write_data_Plover", kMain).IsPending(), Page().HasPendingChanges());
        return Page().HasPendingChanges();
    }
    // Gives keyboard macro `name` (from the keyboard's list) to the key at `index`.
    void GiveMacro(int index, const std::string& name) {
        EditKey(index, [&](keyboard::KeyEdit&) {
            Ui().Click("marco_setting", kEditor);
            auto& list = Ui().Find<ui::List>("result_marco_value", kEditor);
            for (int i = 0; i < list.GetCount(); ++i)
                if (list.GetItemAt(i)->GetText() == name) list.SelectItem(i, ui::Notify::Yes);
            Ui().Click("btn_ok", kEditor);
        });
    }
    void AddMacros(int count) {
        auto& list = MacroStore::Instance().List(DeviceModel::Plover);
        list.Clear();
        for (int i = 0; i < count; ++i)
            list.Add({u"Macro " + std::u16string(1, static_cast<char16_t>(u'1' + i)),
                      {0x05, 0x00, 0x81, 0x04, 0x01, 0x04, 0x06},
                      0});
    }

    std::vector<std::string> messages_;
};

TEST_F(KeyboardPage, KeyPicturesFollowTheirCodes) {
    Open();
    EXPECT_NE(Picture(0).find("key_normal.png"), std::string::npos);
    EXPECT_TRUE(Ui().IsEnabled("device_keyboard_page", kMain));
    EditKey(0, [&](keyboard::KeyEdit& editor) {
        Ui().Click("key_setting", kEditor);
        EXPECT_TRUE(editor.HookInstalled());
        Ui().PressKey(ui::kVkSpace);
        Ui().Click("btn_ok", kEditor);
    });
    EXPECT_NE(Picture(0).find("key_change_Spacebar.png"), std::string::npos) << Picture(0);
    EXPECT_NE(Picture(1).find("key_normal.png"), std::string::npos);
    // The space bar itself keeps its own picture until it changes.
    const int spaceBar = 72;
    EXPECT_NE(Picture(spaceBar).find("key_normal_Spacebar.png"), std::string::npos) << Picture(spaceBar);
    EXPECT_TRUE(Pending());
    EXPECT_NE(Keyboard().tables[0][0], kSpace) << "nothing reaches the keyboard before the write";
    Write();
    EXPECT_EQ(Keyboard().tables[0][0], kSpace);
    EXPECT_FALSE(Pending());
    Ui().Snapshot(ShotPath("keyboard_page_written"), kMain);
}

TEST_F(KeyboardPage, SwitchingProfilesShowsTheOtherTableWithoutTalkingToTheKeyboard) {
    // Profile 1 holds a changed key and its own lighting.
    {
        auto& b = Opened();
        KeyTable table{};
        b.ReadKeyTable(1, table);
        table[5] = kSpace;
        b.WriteKeyTable(1, table);
        b.Call(EntryPoint::Device_ReloadDevice);
    }
    Open();
    const Held held = Keyboard();
    SimControl sim(DeviceModel::Plover);
    sim.ResetCallCounts();
    Ui().Click("profile1", kMain);
    Ui().RunUntilIdle();
    EXPECT_EQ(sim.TransferCount(), 0);
    EXPECT_EQ(Config().currentProfile, 1);
    EXPECT_NE(Picture(5).find("key_change_Spacebar.png"), std::string::npos);
    EXPECT_EQ(Ui().Value("led_light", kMain), held.led[1][K::kLedBrightness]);
    EXPECT_EQ(Ui().Value("led_Speed", kMain), held.led[1][K::kLedSpeed]);
    EXPECT_EQ(Ui().CurSel("led_type_combo", kMain), held.led[1][K::kLedType]);
    EXPECT_EQ(Ui().Text("led_Speed_dispaly", kMain), std::to_string(held.led[1][K::kLedSpeed]));
    EXPECT_EQ(Ui().IsSelected("led_sync", kMain), held.led[1][K::kLedSync] == 1);
    Ui().Click("profile0", kMain);
    Ui().RunUntilIdle();
    EXPECT_NE(Picture(5).find("key_normal.png"), std::string::npos);
    EXPECT_EQ(Ui().IsSelected("led_sync", kMain), held.led[0][K::kLedSync] == 1);
}

// The sync option shows the byte it sets, so a refresh never flips it.
TEST_F(KeyboardPage, LightingEditsStayUntilTheWriteAndShowWhatTheySet) {
    Open();
    const bool synced = Ui().IsSelected("led_sync", kMain);
    Ui().Click("led_sync", kMain);
    Ui().DragSlider("led_light", 2, kMain);
    Ui().SelectComboItem("led_type_combo", 3, kMain);
    Ui().RunUntilIdle();
    Page().Refresh();
    EXPECT_EQ(Ui().IsSelected("led_sync", kMain), !synced);
    EXPECT_EQ(Ui().Text("led_light_display", kMain), "2");
    EXPECT_TRUE(Pending());
    Write();
    const auto led = Keyboard().led[0];
    EXPECT_EQ(led[K::kLedSync], synced ? 0 : 1);
    EXPECT_EQ(led[K::kLedBrightness], 2);
    EXPECT_EQ(led[K::kLedType], 3);
}

// Everything the page holds reaches the keyboard with one write.
TEST_F(KeyboardPage, AWriteSendsKeysCombinationsFnCodesLightingMacrosAndProfile) {
    Open();
    AddMacros(2);
    GiveMacro(3, "Macro 2");
    EditKey(4, [&](keyboard::KeyEdit&) {  // Ctrl + Shift + A
        Ui().Click("key_setting", kEditor);
        Ui().Click("ctrl_check", kEditor);
        Ui().Click("shift_check", kEditor);
        Ui().PressKey(ui::kVkA);
        EXPECT_EQ(Ui().Text("result_key_value", kEditor), "Ctrl+Shift+" + assign::KeyName(0x04));
        Ui().Click("btn_ok", kEditor);
    });
    Edit("FN_Setting", [&](keyboard::KeyEdit& editor) {
        Ui().SelectComboItem("FN_key_setting", 2, kEditor);
        EXPECT_EQ(editor.Entry(), "FN_3");
        Ui().Click("multimedia_setting", kEditor);
        auto& list = Ui().Find<ui::List>("result_mulitmedia_value", kEditor);
        list.SelectItem(1, ui::Notify::Yes);
        Ui().Click("btn_ok", kEditor);
    });
    Ui().Click("profile1", kMain);
    Ui().DragSlider("led_Speed", 1, kMain);
    Ui().RunUntilIdle();
    Write();

    const Held held = Keyboard();
    EXPECT_EQ(held.profile, 1);
    for (int p = 0; p < 2; ++p)
        EXPECT_EQ(held.tables[static_cast<size_t>(p)], keyboard::BuildKeyTable(Config(), p))
            << "profile " << p;
    EXPECT_EQ(held.tables[0][3], 0xC0);
    EXPECT_EQ(held.tables[0][4], 0xE0);
    EXPECT_EQ(held.tables[0][K::kComboOffset], 0x83);
    EXPECT_EQ(held.tables[0][K::kComboOffset + 1], 0x04);
    EXPECT_EQ(held.tables[0][K::kFnOffset + 2], 0xA1);
    EXPECT_EQ(held.led, Config().ledBlocks);
    EXPECT_EQ(held.led[1][K::kLedSpeed], 1);
    ASSERT_FALSE(held.macros.empty());
    EXPECT_EQ(held.macros[0].first, u"Macro 2");
    EXPECT_EQ(held.macros[0].second[2], 0x81);
}

// A read names each key from the keyboard's table: a combination by its modifiers and key, an Fn
// byte equal to its default leaves the entry as the page holds it.
TEST_F(KeyboardPage, AReadNamesCombinationsAndKeepsDefaultFnEntries) {
    {
        auto& b = Opened();
        KeyTable table{};
        b.ReadKeyTable(0, table);
        table[7] = 0xE0;
        table[K::kComboOffset] = 0x83;
        table[K::kComboOffset + 1] = 0x04;
        b.WriteKeyTable(0, table);
        b.Call(EntryPoint::Device_ReloadDevice);
    }
    Open();
    const KeyboardKey& key = Config().keyTables[0].at(keyboard::KeyEntryName(7));
    EXPECT_EQ(key.kind, KeyboardKey::kCombination);
    EXPECT_EQ(key.text, "Ctrl+Shift+" + assign::KeyName(0x04));
    const KeyboardKey& fn3 = Config().fnTables[0].at("FN_3");
    EXPECT_EQ(fn3.code, fn3.defaultCode);
    EXPECT_EQ(fn3.text, fn3.secondText);
}

TEST_F(KeyboardPage, ASeventhMacroIsRefusedAndASeventeenthCombinationChangesNothing) {
    Open();
    AddMacros(7);
    for (int i = 0; i < 6; ++i) GiveMacro(i, "Macro " + std::to_string(i + 1));
    ASSERT_EQ(Config().macros.size(), 6u);
    const KeyboardKey before = Config().keyTables[0].at(keyboard::KeyEntryName(6));
    bool told = false;
    Ui().AnswerModal("MessageBox", [&](ui::WindowImplBase& box) {
        told = true;
        box.Close(1);
    });
    GiveMacro(6, "Macro 7");
    EXPECT_TRUE(told);
    EXPECT_EQ(Config().keyTables[0].at(keyboard::KeyEntryName(6)), before);

    // Sixteen keys take sixteen combinations; the seventeenth leaves its key alone, silently.
    for (int i = 0; i < 17; ++i) {
        const int index = 20 + i;
        const KeyboardKey was = Config().keyTables[0].at(keyboard::KeyEntryName(index));
        EditKey(index, [&](keyboard::KeyEdit&) {
            Ui().Click("key_setting", kEditor);
            Ui().Click("alt_check", kEditor);
            Ui().PressKey(ui::kVkA + static_cast<uint32_t>(i));
            Ui().Click("btn_ok", kEditor);
        });
        const KeyboardKey& now = Config().keyTables[0].at(keyboard::KeyEntryName(index));
        if (i < 16)
            EXPECT_EQ(now.kind, KeyboardKey::kCombination) << i;
        else
            EXPECT_EQ(now, was);
    }
    EXPECT_EQ(Config().keyboardCombos.size(), 16u);
}

TEST_F(KeyboardPage, SavingWithoutTheKeyboardShowsTheMessageAndWritesNoFile) {
    Open();
    SimControl(DeviceModel::Plover).SetAttached(false);
    const fs::path file = TempDir() / "keyboard.bin";
    Ui().AnswerFileDialog(file.string());
    Ui().Click("save_data_Plover", kMain);
    WaitForDeviceTasks();
    EXPECT_FALSE(Ui().IsVisible("loading_gif", kMain));
    EXPECT_EQ(messages_, std::vector<std::string>{ui::TextTable::Instance().Resolve("%{081}")});
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(KeyboardPage, SaveThenImportRoundTripsAndResetRestoresTheDefaultImage) {
    Open();
    const fs::path file = TempDir() / "saved";
    Ui().AnswerFileDialog(file.string());
    Ui().Click("save_data_Plover", kMain);
    WaitForDeviceTasks();
    const std::vector<uint8_t> saved = Image();
    EXPECT_EQ(*platform::ReadFileBytes(file.string() + ".bin"), saved);

    // The keyboard changes; the import brings the saved image back, and the page shows it.
    EditKey(0, [&](keyboard::KeyEdit&) {
        Ui().Click("key_setting", kEditor);
        Ui().PressKey(ui::kVkSpace);
        Ui().Click("btn_ok", kEditor);
    });
    Write();
    ASSERT_NE(Image(), saved);
    Ui().AnswerFileDialog(file.string() + ".bin");
    Ui().Click("import_data_Plover", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(Image(), saved);
    EXPECT_NE(Picture(0).find("key_normal.png"), std::string::npos);
    EXPECT_FALSE(Pending());
    EXPECT_TRUE(messages_.empty());

    // The reset asks first: Cancel leaves the keyboard as it is, OK restores the default file.
    for (const char* answer : {"btn_cancel", "btn_ok"}) {
        Ui().AnswerModal("MessageBox", [&](ui::WindowImplBase&) { Ui().Click(answer, "MessageBox"); });
        Ui().Click("reset_data_Plover", kMain);
        WaitForDeviceTasks();
        if (std::string(answer) == "btn_cancel") {
            EXPECT_EQ(Image(), saved);
        }
    }
    EXPECT_EQ(Image(), DefaultFile());
}

TEST_F(KeyboardPage, OnlyAWholeMemoryImageIsSentToTheKeyboard) {
    Open();
    const std::vector<uint8_t> before = Image();
    SimControl sim(DeviceModel::Plover);
    for (size_t size : {size_t{0}, size_t{2047}, size_t{2049}}) {
        const fs::path file = TempDir() / ("image" + std::to_string(size) + ".bin");
        std::vector<uint8_t> bytes = DefaultFile();
        bytes.resize(size, 0);
        platform::WriteFileAtomic(file.string(), bytes.data(), bytes.size());
        messages_.clear();
        sim.ResetCallCounts();
        Ui().AnswerFileDialog(file.string());
        Ui().Click("import_data_Plover", kMain);
        WaitForDeviceTasks();
        EXPECT_EQ(sim.CallCount("Device_WriteEEpromData"), 0) << size;
        EXPECT_EQ(messages_, std::vector<std::string>{ui::TextTable::Instance().Resolve("%{617}")}) << size;
    }
    EXPECT_EQ(Image(), before);
}

// The keyboard's recording rules: every key (modifiers too) as a key step with its code, pauses in
// eighths, buttons by their codes; the macro reaches the keyboard with the next write.
TEST_F(KeyboardPage, TheMacroWindowRecordsTheKeyboardsStepsAndTheWriteSendsThem) {
    Open();
    AddMacros(1);
    GiveMacro(0, "Macro 1");
    Ui().Click("marco_manager", kMain);
    Ui().RunUntilIdle();
    keyboard::MarcoManger* window = Page().MacroWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->IsOpen());
    auto& list = Ui().Find<ui::List>("listex", kMacroWindow);
    list.SelectItem(0, ui::Notify::Yes);
    Ui().RunUntilIdle();
    Ui().Click("recordButton", kMacroWindow);
    // Away from the record button, so its own clicks are the only ones left out.
    Ui().Hover("listex1", kMacroWindow);
    Ui().KeyDown(ui::kVkLControl);
    Ui().AdvanceClock(80);
    Ui().KeyUp(ui::kVkLControl);
    Ui().AdvanceClock(16);
    Ui().ClickAt(Ui().Find("listex1", kMacroWindow).GetPos().Center(), kMacroWindow);
    Ui().Click("recordButton", kMacroWindow);
    Ui().RunUntilIdle();

    auto& steps = Ui().Find<MarcoListUI>("listex1", kMacroWindow);
    std::vector<std::pair<int, int>> rows;
    for (int i = 0; i < steps.RowCount(); ++i) rows.emplace_back(steps.RowAt(i)->tag, steps.RowAt(i)->value);
    const int ctrl = assign::KeyCodeFromVirtualKey(ui::kVkLControl);
    const std::vector<std::pair<int, int>> expected = {{0x81, ctrl}, {0x04, 10}, {0x01, ctrl}, {0x04, 2},
                                                       {0x82, 0x01}, {0x04, 0},  {0x02, 0x01}};
    EXPECT_EQ(rows, expected);
    EXPECT_TRUE(Pending()) << "a macro a key plays changed";

    Write();
    const Held held = Keyboard();
    ASSERT_FALSE(held.macros.empty());
    const MacroEntry& stored = MacroStore::Instance().List(DeviceModel::Plover)[0];
    EXPECT_EQ(std::vector<uint8_t>(held.macros[0].second.begin(),
                                   held.macros[0].second.begin() + stored.data.size()),
              stored.data);
}

}  // namespace

namespace {

// A window showing one skin document with everything in it visible, for the editor's panels.
class EditorSkin : public ui::WindowImplBase {
  public:
    std::string GetWindowClassName() const override { return "EditorSkin"; }
    std::string GetSkinFile() const override { return "XML/KeyEdit.xml"; }
};

// Every text of the page, the key editor and the macro window fits in every language; the pictures
// of English, German and SC are kept for a person to look at.
TEST_F(KeyboardPage, TextsFitInEveryLanguage) {
    Open();
    AddMacros(2);
    GiveMacro(2, "Macro 1");
    Ui().Click("marco_manager", kMain);
    Ui().RunUntilIdle();
    ASSERT_TRUE(Page().MacroWindow() && Page().MacroWindow()->IsOpen());
    EditorSkin editor;
    ASSERT_TRUE(editor.Create(&Frame(), "", {}, {0, 0, 760, 560}));
    editor.ShowWindow(true, false);
    for (const char* shown : {"key_layout", "fn_label", "FN_key_setting"})
        Ui().Find(shown, "EditorSkin").SetVisible(true);
    Ui().Find("category_hint", "EditorSkin").SetVisible(false);
    Ui().Find<ui::Combo>("FN_key_setting", "EditorSkin").SelectItem(0, ui::Notify::No);
    Ui().Find<ui::List>("listex", kMacroWindow).SelectItem(0, ui::Notify::Yes);
    const int languages = Ui().Find<ui::Container>("language_option", kMain).GetCount();
    ASSERT_EQ(languages, 15);
    for (int i = 1; i <= languages; ++i) {
        const std::string option = "language_" + std::to_string(i);
        Ui().Click(option, kMain);
        Ui().RunUntilIdle();
        const std::string language = Ui().Text(option, kMain);
        Ui().Find("current_value", "EditorSkin")
            .SetText(ui::TextTable::Instance().Resolve("%{9}") + " Ctrl+Shift+" + assign::KeyName(0x04));
        Ui().RunUntilIdle();
        for (auto* window :
             {static_cast<ui::WindowImplBase*>(&Frame()), static_cast<ui::WindowImplBase*>(&editor),
              static_cast<ui::WindowImplBase*>(Page().MacroWindow())})
            for (const auto& problem : oaktest::TextFitProblems(*window))
                ADD_FAILURE() << language << " " << window->GetWindowClassName() << ": " << problem;
        if (language == "English" || language == "German" || language == "\u7b80\u4f53\u4e2d\u6587") {
            const std::string tag = language == "English" ? "en" : language == "German" ? "de" : "sc";
            Ui().Snapshot(ShotPath("keyboard_page_" + tag), kMain);
            EditKey(2, [&](keyboard::KeyEdit&) {
                Ui().Snapshot(ShotPath("keyboard_key_editor_" + tag), kEditor);
                Ui().Click("btn_cancel", kEditor);
            });
            Ui().Snapshot(ShotPath("keyboard_macro_window_" + tag), kMacroWindow);
        }
    }
    editor.Close(0);
    Ui().RunUntilIdle();
}

}  // namespace

namespace {

// Two keys pressed within half a second make one combination; a slower second key is a key of
// its own.
TEST_F(KeyboardPage, TwoQuickKeysMakeACombination) {
    Open();
    struct Case {
        uint64_t gapMs;
        int kind;
        int code;  // the kind-0 key, or the combination's two bytes
    };
    int index = 10;
    for (const Case c : {Case{100, KeyboardKey::kCombination, 0x0405}, Case{500, KeyboardKey::kKey, 0x05}}) {
        EditKey(index, [&](keyboard::KeyEdit&) {
            Ui().Click("key_setting", kEditor);
            Ui().PressKey(ui::kVkA);
            Ui().AdvanceClock(c.gapMs);
            Ui().PressKey(ui::kVkA + 1);
            Ui().Click("btn_ok", kEditor);
        });
        const KeyboardKey& key = Config().keyTables[0].at(keyboard::KeyEntryName(index));
        EXPECT_EQ(key.kind, c.kind) << c.gapMs;
        EXPECT_EQ(c.kind == KeyboardKey::kCombination ? int{key.combination} : key.code, c.code) << c.gapMs;
        ++index;
    }
}

// A write the keyboard refuses leaves the changes on the page, pending, and says so; a reconnection
// read does not replace them; the next write lands.
TEST_F(KeyboardPage, AFailedWriteKeepsTheChangesPending) {
    Open();
    EditKey(0, [&](keyboard::KeyEdit&) {
        Ui().Click("key_setting", kEditor);
        Ui().PressKey(ui::kVkSpace);
        Ui().Click("btn_ok", kEditor);
    });
    SimControl sim(DeviceModel::Plover);
    sim.Inject("Device_WriteProFileData", 1);
    Write();
    EXPECT_TRUE(Pending());
    EXPECT_EQ(Ui().Text("hint_Plover", kMain), "%{520}");
    EXPECT_EQ(Config().keyTables[0].at(keyboard::KeyEntryName(0)).code, kSpace);
    EXPECT_NE(Keyboard().tables[0][0], kSpace);
    Write();
    EXPECT_EQ(Keyboard().tables[0][0], kSpace);
    EXPECT_FALSE(Pending());
    EXPECT_EQ(Ui().Text("hint_Plover", kMain), "%{675}");  // the write reached the keyboard
}

}  // namespace
