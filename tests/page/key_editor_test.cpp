// The Egret's key assignment editor and fire-key panel, opened from the Egret page and driven like a
// user against the simulated Egret.
#include <gtest/gtest.h>

#include <array>

#include "AppFixture.h"
#include "SimControl.h"
#include "TextFit.h"
#include "assign/FirePattern.h"
#include "assign/KeepLeftFlag.h"
#include "assign/KeyCapture.h"
#include "assign/KeyCodes.h"
#include "assign/KeyEdit.h"
#include "assign/KeyEdit_Egret.h"
#include "device/DeviceIds.h"
#include "device/DeviceLibraryBinding.h"
#include "macro/MacroStore.h"
#include "mouse/CDialogMouseEgretSetting.h"
#include "mouse/ColorPicker.h"
#include "records/CraneConfig.h"
#include "records/IbisConfig.h"
#include "ui/controls/Combo.h"
#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/core/Container.h"
#include "ui/core/VirtualKeys.h"
#include "ui/text/TextTable.h"

namespace {

constexpr const char* kMain = "Oakridge";
constexpr const char* kEd = "KeyEdit_Egret";
using Code = std::array<uint8_t, 4>;

// Direct access to the simulated Egret, for setting up and reading back what the program wrote.
struct Egret {
    DeviceLibraryBinding& b = DeviceLibraryBinding::Instance();
    // The ids of the device itself: usable before the main window has read the skin's.
    Egret() { b.Call(EntryPoint::InitMCUDevice_Egret, int32_t{kLumenorVid}, int32_t{kEgretPid}, int32_t{0}); }
    Code Key(int profile, int key) {
        Code c{};
        b.Call(EntryPoint::Devcie_Get_Macro_Key_Egret, int32_t{profile + 1}, int32_t{key + 1}, &c[0], &c[1],
               &c[2], &c[3]);
        return c;
    }
    void SetKey(int profile, int key, Code c) {
        b.Call(EntryPoint::Devcie_Set_Macro_Key_Egret, int32_t{profile + 1}, int32_t{key + 1}, int32_t{c[0]},
               int32_t{c[1]}, int32_t{c[2]}, int32_t{c[3]});
    }
    MacroList Macros() {
        EgretConfig c;
        b.ReadMacros(c);
        return c.macros;
    }
    void AddMacro(std::u16string name) {
        const uint8_t events[] = {0xFD, 0x01, 0x05, 0x00, 0x04, 0x85, 0x00, 0x04, 0xFC, 0x00};
        b.WriteMacro(DeviceModel::Egret, -1, name, events, static_cast<int>(sizeof events));
    }
    FireMacroEntry Fire(int slot) {
        EgretConfig c;
        b.ReadFireMacro(c, slot);
        return static_cast<size_t>(slot) < c.fireMacros.size() ? c.fireMacros[static_cast<size_t>(slot)]
                                                               : FireMacroEntry{};
    }
    std::array<uint8_t, 8> EffectBlock() {
        std::array<uint8_t, 8> block{};
        b.Call(EntryPoint::Devcie_Get_Led_Mode_Data_Egret, block.data());
        return block;
    }
};

Code MacroCode(int id) {
    return {0x10, static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id), 0};
}

// The device macro `code` plays, or nothing.
std::u16string PlayedBy(const Code& code, const MacroList& macros) {
    for (const auto& m : macros)
        if (code == MacroCode(m->id)) return m->name;
    return u"";
}

std::vector<std::u16string> Names(const MacroList& macros) {
    std::vector<std::u16string> names;
    for (const auto& m : macros) names.push_back(m->name);
    return names;
}

std::vector<int> Ids(const MacroList& macros) {
    std::vector<int> ids;
    for (const auto& m : macros) ids.push_back(m->id);
    return ids;
}

// The device holds exactly `first` and "Two"; key 4 plays the first, key 5 the second (profile 1).
MacroList TwoMacroKeys(const std::u16string& first) {
    Egret dev;
    while (!dev.Macros().empty()) dev.b.WriteMacro(DeviceModel::Egret, 0, u"", {}, 0);
    dev.AddMacro(first);
    dev.AddMacro(u"Two");
    const MacroList held = dev.Macros();
    dev.SetKey(0, 3, MacroCode(held[0].id));
    dev.SetKey(0, 4, MacroCode(held[1].id));
    return held;
}

class KeyEditor : public oaktest::AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        assign::SetKeepLeftFlag(DeviceModel::Egret, 1);
        mouse::ColorPicker::SetChooser(nullptr);
    }
    void TearDown() override {
        mouse::ColorPicker::SetChooser(nullptr);
        AppFixture::TearDown();
    }
    void OpenEgret() {
        StartApp();
        // The shipped macros, wherever the test program runs from.
        auto& store = MacroStore::Instance();
        if (store.List(DeviceModel::Egret).empty()) {
            store.SetFolders(BinFolder(), (TempDir() / "macros").string());
            store.SyncMacroFolder(DeviceModel::Egret);
            store.LoadMacroFile(DeviceModel::Egret);
        }
        WaitForDeviceTasks();
        Ui().SelectComboItem("device_combo", 3, kMain);
    }
    mouse::CDialogMouseEgretSetting& Page() {
        return *dynamic_cast<mouse::CDialogMouseEgretSetting*>(Frame().Page(DeviceModel::Egret));
    }
    // Opens the editor on key `key` (1-based) of the current profile, lets `act` work in it, and waits
    // for the write the page requests.
    void Edit(int key, const std::function<void(assign::KeyEdit&)>& act) {
        bool opened = false;
        Ui().AnswerModal(kEd, [&](ui::WindowImplBase& w) {
            opened = true;
            act(dynamic_cast<assign::KeyEdit&>(w));
        });
        Ui().Click("profile_key_Egret_" + std::to_string(key), kMain);
        WaitForDeviceTasks();
        ASSERT_TRUE(opened);
    }
    void ClickRow(const std::string& list, int index) { Ui().ClickRow(list, index, kEd); }
    // Picks the macro `name` from whichever macro control the store style shows.
    void ChooseMacro(const std::string& name) {
        Ui().Click("base_macro_setting_Egret", kEd);
        for (const char* list : {"result_marco_file_value_Egret", "result_marco_folder_value_Egret"}) {
            if (!Ui().IsVisible(list, kEd)) continue;
            auto& l = Ui().Find<ui::List>(list, kEd);
            int folder = -1;
            for (int i = 0; i < l.GetCount(); ++i) {
                std::string text = l.GetItemAt(i)->GetText();
                if (text.rfind(" ", 0) != 0 && text.find(name) == std::string::npos) folder = i;
                if (text.find_first_not_of(' ') == std::string::npos ||
                    text.substr(text.find_first_not_of(' ')) != name)
                    continue;
                if (!l.GetItemAt(i)->IsVisible()) ClickRow(list, folder);  // open its folder
                ClickRow(list, i);
                return;
            }
        }
        std::string seen;
        for (const char* list : {"result_marco_file_value_Egret", "result_marco_folder_value_Egret"}) {
            auto& l = Ui().Find<ui::List>(list, kEd);
            seen += std::string(list) + (Ui().IsVisible(list, kEd) ? " (shown):" : ":");
            for (int i = 0; i < l.GetCount(); ++i) seen += " [" + l.GetItemAt(i)->GetText() + "]";
        }
        ADD_FAILURE() << "no macro " << name << " in " << seen;
    }
    std::string Shown(const std::string& name) { return Ui().ResolvedText(name, kMain); }
};

TEST(KeyCaptureText, ModifierBoxesEditTheText) {
    struct Case {
        const char* text;
        const char* word;
        bool wasChecked;
        const char* expected;
    };
    for (const Case c : {Case{"", "Alt", false, "Alt"}, Case{"A", "Alt", false, "Alt+A"},
                         Case{"Ctrl+Shift+Ctrl+A", "Ctrl", true, "Shift+A"}, Case{"Ctrl", "Ctrl", true, ""},
                         Case{"Shift+A", "Win", true, "Shift+A"}})
        EXPECT_EQ(assign::KeyCapture::EditModifierText(c.text, c.word, c.wasChecked), c.expected)
            << c.text << " " << c.word;
    EXPECT_EQ(assign::KeyCapture::WithModifiers("A", true, true, true, true), "Win+Shift+Alt+Ctrl+A");
}

TEST(FirePatternCode, ReadsAndWritesOnlyWhatItFound) {
    using B = assign::FirePattern::Bytes;
    struct Case {
        B data;
        std::optional<int> count, x, y, shootTime;
        B written;  // after writing count 9, x -1, y 3, shoot time 0x1234
    };
    const B tail = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFD, 0x07};
    B tailWritten = tail;
    tailWritten[23] = 9;
    const Case cases[] = {
        {{0xFD, 5, 0x04, 0xFE, 0x02, 0xFE, 0x00, 40, 0xA1, 0x21, 0xFC},
         5,
         -2,
         2,
         40,
         {0xFD, 9, 0x04, 0xFF, 0x03, 0xFE, 0x12, 0x34, 0xA1, 0x21, 0xFC}},
        {{0xA1, 0x21, 0xFC}, std::nullopt, std::nullopt, std::nullopt, std::nullopt, {0xA1, 0x21, 0xFC}},
        // A shoot time before any movement is neither read nor written.
        {{0xFD, 3, 0xFE, 0x00, 0x10, 0x04, 0x01, 0x02, 0xFC},
         3,
         1,
         2,
         std::nullopt,
         {0xFD, 9, 0xFE, 0x00, 0x10, 0x04, 0xFF, 0x03, 0xFC}},
        // A movement cut off by the end of the data is not read.
        {tail, 7, std::nullopt, std::nullopt, std::nullopt, tailWritten},
    };
    for (const Case& c : cases) {
        auto p = assign::FirePattern::Read(c.data);
        auto found = p.Found();
        EXPECT_EQ(found.count, c.count);
        EXPECT_EQ(found.x, c.x);
        EXPECT_EQ(found.y, c.y);
        EXPECT_EQ(found.shootTime, c.shootTime);
        B written = c.data;
        p.Write(written, {9, -1, 3, 0x1234});
        EXPECT_EQ(written, c.written);
    }
}

TEST_F(KeyEditor, TwoKeysWithinHalfASecondCombineAndAThirdStartsAnew) {
    OpenEgret();
    const Code before = Egret().Key(0, 1);
    Edit(2, [&](assign::KeyEdit& ed) {
        Ui().Click("user_defined_setting_Egret", kEd);
        EXPECT_TRUE(ed.HookInstalled());
        Ui().PressKey(ui::kVkA);
        Ui().AdvanceClock(499);
        Ui().PressKey(ui::kVkA + 1);  // B
        EXPECT_EQ(Ui().Text("result_key_value_Egret", kEd), "A+B");
        EXPECT_EQ(ed.CapturedKey(), 0x0405u);
        Ui().AdvanceClock(10);
        Ui().PressKey(ui::kVkA + 2);  // C: the pair is complete, so this starts anew
        EXPECT_EQ(Ui().Text("result_key_value_Egret", kEd), "C");
        Ui().AdvanceClock(500);
        Ui().PressKey(ui::kVkA + 3);  // D, exactly 500 ms later: a new press
        EXPECT_EQ(Ui().Text("result_key_value_Egret", kEd), "D");
        EXPECT_EQ(ed.CapturedKey(), 0x07u);
        Ui().Click("standard_mouse_keys_setting_Egret", kEd);
        EXPECT_FALSE(ed.HookInstalled());
        Ui().Click("btn_cancel_Egret", kEd);
    });
    EXPECT_EQ(Egret().Key(0, 1), before);
}

TEST_F(KeyEditor, ModifierBoxesPrefixTheKeyAndOkWritesTheCombination) {
    OpenEgret();
    Edit(2, [&](assign::KeyEdit&) {
        Ui().Click("user_defined_setting_Egret", kEd);
        Ui().Click("ctrl_check_Egret", kEd);
        Ui().Click("shift_check_Egret", kEd);
        EXPECT_EQ(Ui().Text("result_key_value_Egret", kEd), "Shift+Ctrl");
        Ui().PressKey(ui::kVkA);
        EXPECT_EQ(Ui().Text("result_key_value_Egret", kEd), "Shift+Ctrl+A");
        for (uint32_t vk : {ui::kVkLControl, ui::kVkRShift, ui::kVkLMenu, ui::kVkRMenu, ui::kVkLWin})
            Ui().PressKey(vk);
        EXPECT_EQ(Ui().Text("result_key_value_Egret", kEd), "Shift+Ctrl+A");
        Ui().Click("ctrl_check_Egret", kEd);
        EXPECT_EQ(Ui().Text("result_key_value_Egret", kEd), "Shift+A");
        Ui().Click("ctrl_check_Egret", kEd);
        Ui().Click("btn_ok_Egret", kEd);
    });
    EXPECT_EQ(Egret().Key(0, 1), (Code{2, 0x03, 0, 0x04}));
    EXPECT_EQ(Shown("profile_key_Egret_2"), "Ctrl+Shift+A");
}

TEST_F(KeyEditor, TheLastLeftButtonCannotBeGivenAwayAndTheEditorStaysOpenToChooseAgain) {
    OpenEgret();
    const std::string message = ui::TextTable::Instance().Resolve("%{183}");
    Edit(1, [&](assign::KeyEdit&) {
        // The editor opens on the key's own function.
        EXPECT_TRUE(Ui().IsSelected("standard_mouse_keys_setting_Egret", kEd));
        EXPECT_EQ(Ui().CurSel("result_standard_mouse_keys_value_Egret", kEd), 0);
        ClickRow("result_standard_mouse_keys_value_Egret", 1);
        for (const char* button : {"btn_ok_Egret", "btn_reset_Egret"}) {
            std::string shown;
            Ui().AnswerModal("MessageBox", [&](ui::WindowImplBase& box) {
                shown = Ui().Text("label_display", "MessageBox");
                EXPECT_EQ(box.GetOwner(), &Ui().Window(kEd)) << "the notice belongs to the editor";
                Ui().Click("btn_ok", "MessageBox");
            });
            Ui().Click(button, kEd);
            EXPECT_EQ(shown, message) << button;
            EXPECT_FALSE(Ui().Window(kEd).IsClosed()) << button;
        }
        // The user chooses again, and OK closes.
        ClickRow("result_standard_mouse_keys_value_Egret", 0);
        Ui().Click("btn_ok_Egret", kEd);
    });
    EXPECT_EQ(Egret().Key(0, 0), (Code{1, 1, 0, 0}));
    EXPECT_EQ(Page().Egret().keyLists[0][0].code, (Code{1, 1, 0, 0}));

    // Another key may change: key 1 still holds the left button. Reset applies like OK.
    Edit(2, [&](assign::KeyEdit&) {
        ClickRow("result_standard_mouse_keys_value_Egret", 2);
        Ui().Click("btn_reset_Egret", kEd);
    });
    EXPECT_EQ(Egret().Key(0, 1), (Code{1, 4, 0, 0}));
}

TEST_F(KeyEditor, EscapeClosesWithoutAChangeExceptWhileAKeyIsCaptured) {
    OpenEgret();
    const Code before = Egret().Key(0, 1);
    Edit(2, [&](assign::KeyEdit&) {
        ClickRow("result_standard_mouse_keys_value_Egret", 3);
        Ui().PressKey(ui::kVkEscape);  // an editor still open here would wait for an answer
    });
    EXPECT_EQ(Egret().Key(0, 1), before);
    // While capturing, Escape is a key the button may get; Cancel still closes.
    Edit(2, [&](assign::KeyEdit&) {
        Ui().Click("user_defined_setting_Egret", kEd);
        Ui().PressKey(ui::kVkEscape);
        EXPECT_FALSE(Ui().Window(kEd).IsClosed());
        EXPECT_EQ(Ui().Text("result_key_value_Egret", kEd),
                  assign::KeyName(assign::KeyCodeFromVirtualKey(ui::kVkEscape)));
        Ui().Click("btn_cancel_Egret", kEd);
    });
    EXPECT_EQ(Egret().Key(0, 1), before);
}

TEST_F(KeyEditor, OpensWithTheCurrentFunctionSelectedAndInView) {
    constexpr uint32_t kSniper = 234881024;  // far down the special functions
    Egret().SetKey(0, 1, {0x0E, 0, 0, 0});
    OpenEgret();
    Edit(2, [&](assign::KeyEdit& ed) {
        ed.GetManager().LayoutIfNeeded();
        EXPECT_TRUE(Ui().IsSelected("special_keys_setting_Egret", kEd));
        auto& list = Ui().Find<ui::List>("result_special_keys_value_Egret", kEd);
        ASSERT_GE(list.GetCurSel(), 0);
        const ui::Control* item = list.GetItemAt(list.GetCurSel());
        EXPECT_EQ(item->GetUserData(), std::to_string(kSniper));
        ASSERT_GT(list.GetContentHeight(), list.GetPos().Height()) << "the list must need scrolling";
        EXPECT_GE(item->GetPos().top, list.GetPos().top);
        EXPECT_LE(item->GetPos().bottom, list.GetPos().bottom);
        Ui().Click("btn_cancel_Egret", kEd);
    });
}

TEST_F(KeyEditor, ASingleCapturedKeyIsLabelledWithoutAJoiningPlus) {
    OpenEgret();
    Edit(2, [&](assign::KeyEdit&) {
        Ui().Click("user_defined_setting_Egret", kEd);
        Ui().PressKey(ui::kVkA);
        EXPECT_EQ(Ui().Text("result_key_value_Egret", kEd), "A");
        Ui().Click("btn_ok_Egret", kEd);
    });
    EXPECT_EQ(Egret().Key(0, 1), (Code{2, 0, 0, 0x04}));
    EXPECT_EQ(Shown("profile_key_Egret_2"), "A");
    Edit(2, [&](assign::KeyEdit&) {
        EXPECT_EQ(Ui().ResolvedText("current_value", kEd), "A");
        EXPECT_EQ(Ui().Text("result_key_value_Egret", kEd), "A");
        Ui().Click("btn_cancel_Egret", kEd);
    });
}

TEST_F(KeyEditor, OnTheSecondProfileTheDoubleClickCountsAsAPrimaryButton) {
    OpenEgret();
    Ui().Click("profile2_Egret", kMain);
    WaitForDeviceTasks();
    Edit(1, [&](assign::KeyEdit&) {
        EXPECT_TRUE(Ui().IsVisible("key_office_mode_element", kEd));
        EXPECT_FALSE(Ui().IsVisible("key_game_mode_element", kEd));
        Ui().Click("special_keys_setting_Egret", kEd);
        auto& list = Ui().Find<ui::List>("result_special_keys_value_Egret", kEd);
        int doubleClick = -1;
        for (int i = 0; i < list.GetCount(); ++i)
            if (list.GetItemAt(i)->GetUserData() == std::to_string(0x100710FF)) doubleClick = i;
        ASSERT_GE(doubleClick, 0);
        ClickRow("result_special_keys_value_Egret", doubleClick);
        Ui().Click("btn_ok_Egret", kEd);
    });
    EXPECT_EQ(Egret().Key(1, 0), (Code{0x10, 0x07, 0x10, 0xFF}));
    // The reserved macro code on key 1 now lets key 2 give up nothing it needs.
    Edit(2, [&](assign::KeyEdit&) {
        Ui().Click("multimedia_setting_Egret", kEd);
        ClickRow("result_multimedia_value_Egret", 4);  // mute
        Ui().Click("btn_ok_Egret", kEd);
    });
    EXPECT_EQ(Egret().Key(1, 1), (Code{3, 0, 0xE2, 0}));
}

TEST_F(KeyEditor, FireMacrosCarryTheGunCodeAndTheKeepLeftFlag) {
    OpenEgret();
    Edit(3, [&](assign::KeyEdit&) {
        Ui().Click("fire_macro_setting_Egret", kEd);
        ClickRow("result_fire_macro_value_Egret", 6);
        Ui().Click("btn_ok_Egret", kEd);
    });
    EXPECT_EQ(Egret().Key(0, 2), (Code{0x0B, 0x17, 1, 0}));

    // The keep-left box of the fire-key panel reaches the next fire-macro code.
    Ui().Click("fire_macro_Settings_Egret", kMain);
    Ui().Click("keep_left_check_Egret", kMain);
    Ui().Click("profile1_Egret", kMain);
    WaitForDeviceTasks();
    Edit(3, [&](assign::KeyEdit&) {
        EXPECT_EQ(Ui().CurSel("result_fire_macro_value_Egret", kEd), 6);
        ClickRow("result_fire_macro_value_Egret", 2);
        Ui().Click("btn_ok_Egret", kEd);
    });
    EXPECT_EQ(Egret().Key(0, 2), (Code{0x0B, 0x02, 1, 0}));
}

TEST_F(KeyEditor, AMacroOnTheDeviceIsReusedWhateverItsCase) {
    Egret().AddMacro(u"PASTE");
    const int id = Egret().Macros()[0].id;
    OpenEgret();
    SimControl sim(DeviceModel::Egret);
    sim.ResetCallCounts();
    Edit(4, [&](assign::KeyEdit&) {
        ChooseMacro("Paste");
        Ui().Click("btn_ok_Egret", kEd);
    });
    EXPECT_EQ(sim.CallCount("Device_Set_Macro_Data_Egret"), 0);
    EXPECT_EQ(Egret().Key(0, 3), MacroCode(id));
    EXPECT_EQ(Shown("profile_key_Egret_4"), "PASTE");
}

TEST_F(KeyEditor, ANewMacroIsDownloadedAndOtherKeysFollowTheRenumbering) {
    // Three macros on the device; key 4 alone plays the first, keys 5 (both profiles) and 6 the others.
    Egret dev;
    for (auto name : {u"One", u"Two", u"Three"}) dev.AddMacro(name);
    MacroList before = dev.Macros();
    ASSERT_EQ(before.size(), 3u);
    dev.SetKey(0, 3, MacroCode(before[0].id));
    dev.SetKey(0, 4, MacroCode(before[1].id));
    dev.SetKey(1, 4, MacroCode(before[1].id));
    dev.SetKey(0, 5, MacroCode(before[2].id));
    OpenEgret();
    Edit(4, [&](assign::KeyEdit&) {
        ChooseMacro("Paste");
        Ui().Click("btn_ok_Egret", kEd);
    });
    MacroList after = Egret().Macros();
    ASSERT_EQ(after.size(), 3u);  // "One" released, "Paste" appended
    EXPECT_EQ(after[0].name, u"Two");
    EXPECT_EQ(after[1].name, u"Three");
    EXPECT_EQ(after[2].name, u"Paste");
    EXPECT_NE(after[0].id, before[1].id);  // the device renumbered
    EXPECT_EQ(Egret().Key(0, 3), MacroCode(after[2].id));
    EXPECT_EQ(Egret().Key(0, 4), MacroCode(after[0].id));
    EXPECT_EQ(Egret().Key(1, 4), MacroCode(after[0].id));
    EXPECT_EQ(Egret().Key(0, 5), MacroCode(after[1].id));
    EXPECT_EQ(Shown("profile_key_Egret_5"), "Two");
    EXPECT_EQ(Shown("profile_key_Egret_6"), "Three");
}

TEST_F(KeyEditor, AFailedDownloadLeavesTheKeyAlone) {
    OpenEgret();
    SimControl sim(DeviceModel::Egret);
    sim.Inject("Device_Set_Macro_Data_Egret", 1);
    const Code before = Egret().Key(0, 3);
    Edit(4, [&](assign::KeyEdit&) {
        ChooseMacro("Paste");
        Ui().Click("btn_ok_Egret", kEd);
    });
    sim.ClearFailures();
    EXPECT_EQ(Egret().Key(0, 3), before);
    EXPECT_TRUE(Egret().Macros().empty());
}

// Confirming the macro a key already plays, whether as the editor opened or chosen again, leaves the
// device's macros, their numbering and the other keys alone.
TEST_F(KeyEditor, ConfirmingTheKeysOwnMacroTouchesNoMacro) {
    struct Case {
        bool chooseAgain;
        const char* button;
    };
    for (const Case c : {Case{false, "btn_ok_Egret"}, Case{false, "btn_reset_Egret"},
                         Case{true, "btn_ok_Egret"}, Case{true, "btn_reset_Egret"}}) {
        const MacroList before = TwoMacroKeys(u"Paste");  // key 4 alone plays "Paste", key 5 "Two"
        OpenEgret();
        SimControl sim(DeviceModel::Egret);
        sim.ResetCallCounts();
        Edit(4, [&](assign::KeyEdit&) {
            if (c.chooseAgain) ChooseMacro("Paste");
            Ui().Click(c.button, kEd);
        });
        const std::string what = std::string(c.chooseAgain ? "chosen again, " : "as opened, ") + c.button;
        EXPECT_EQ(sim.CallCount("Device_Set_Macro_Data_Egret"), 0) << what;
        EXPECT_EQ(Names(Egret().Macros()), Names(before)) << what;
        EXPECT_EQ(Ids(Egret().Macros()), Ids(before)) << what;
        EXPECT_EQ(Egret().Key(0, 3), MacroCode(before[0].id)) << what;
        EXPECT_EQ(Egret().Key(0, 4), MacroCode(before[1].id)) << what;
        EXPECT_EQ(Shown("profile_key_Egret_4"), "Paste") << what;
        frame_.reset();
    }
}

// Moving a key to another macro downloads the new one first: whichever transfer fails, no key ends
// up on a macro nobody chose, and a failed download leaves the old macro and the key as they were.
TEST_F(KeyEditor, AFailedTransferNeverMovesAKeyToAnotherMacro) {
    struct Case {
        int failingCall;  // of the macro transfers the apply makes
        std::vector<std::u16string> held;
        std::u16string key4;
    };
    const Case cases[] = {
        {1, {u"One", u"Two"}, u"One"},              // the download: nothing changes
        {2, {u"One", u"Two", u"Paste"}, u"Paste"},  // the release: the old macro stays behind
    };
    for (const Case& c : cases) {
        const MacroList before = TwoMacroKeys(u"One");  // key 4 alone plays "One", key 5 "Two"
        OpenEgret();
        SimControl sim(DeviceModel::Egret);
        sim.Inject("Device_Set_Macro_Data_Egret", c.failingCall);
        Edit(4, [&](assign::KeyEdit&) {
            ChooseMacro("Paste");
            Ui().Click("btn_ok_Egret", kEd);
        });
        sim.ClearFailures();
        const MacroList after = Egret().Macros();
        EXPECT_EQ(Names(after), c.held) << "failing call " << c.failingCall;
        EXPECT_EQ(PlayedBy(Egret().Key(0, 3), after), c.key4) << "failing call " << c.failingCall;
        EXPECT_EQ(PlayedBy(Egret().Key(0, 4), after), u"Two") << "failing call " << c.failingCall;
        EXPECT_EQ(PlayedBy(Page().Egret().keyLists[0][3].code, after), c.key4)
            << "failing call " << c.failingCall;
        frame_.reset();
    }
}

TEST_F(KeyEditor, ACategoryWithoutAChoiceKeepsTheKey) {
    OpenEgret();
    const Code before = Egret().Key(0, 7);  // the factory fire key
    for (const char* category :
         {"multimedia_setting_Egret", "base_macro_setting_Egret", "user_defined_setting_Egret"}) {
        Edit(8, [&](assign::KeyEdit&) {
            Ui().Click(category, kEd);
            Ui().Click("btn_ok_Egret", kEd);
        });
        EXPECT_EQ(Egret().Key(0, 7), before) << category;
    }
}

// Which list a profile edits and the shape of the codes are the editor's data: a model with fewer
// lists than profiles, or with three-byte codes, changes only its spec.
TEST_F(KeyEditor, TheSpecChoosesTheKeyListAndTheShapeOfTheCode) {
    OpenEgret();
    Ui().Click("profile2_Egret", kMain);
    WaitForDeviceTasks();
    auto mute = [&] {
        Ui().Click("multimedia_setting_Egret", kEd);
        ClickRow("result_multimedia_value_Egret", 4);
    };
    auto keyA = [&] {
        Ui().Click("user_defined_setting_Egret", kEd);
        Ui().PressKey(ui::kVkA);
    };
    struct Case {
        const char* what;
        std::function<void(assign::KeyEditSpec&)> change;
        std::function<void()> choose;
        size_t list;
        Code code;
    };
    const Case cases[] = {
        {"second profile on the first list",
         [](auto& s) {
             s.keyListOfProfile = {0, 0, 0};
         },
         mute, 0, Code{3, 0, 0xE2, 0}},
        {"own list", [](auto&) {}, keyA, 1, Code{2, 0, 0, 4}},
        {"three-byte value", [](auto& s) { s.codeBytes = 3; }, mute, 1, Code{0, 0xE2, 0, 0}},
        {"three-byte class and value",
         [](auto& s) {
             s.codeBytes = 3;
             s.listCodes[2] = {assign::CodeRule::ClassAndLow16, 3};
         },
         mute, 1, Code{3, 0xE2, 0, 0}},
        {"three-byte keyboard key", [](auto& s) { s.codeBytes = 3; }, keyA, 1, Code{2, 0, 4, 0}},
    };
    EgretConfig& record = Page().Egret();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        assign::KeyEditSpec spec = assign::KeyEdit_Egret::kSpec;
        c.change(spec);
        const auto untouched = record.keyLists[1 - c.list][1].code;
        record.keyLists[c.list][1].code = {1, 4, 0, 0};
        assign::KeyEdit editor(&Frame(), spec, record, record.keyLists[1][1],
                               std::make_unique<assign::RecordKeyEditDevice<EgretConfig>>(record));
        Ui().AnswerModal(kEd, [&](ui::WindowImplBase&) {
            c.choose();
            Ui().Click("btn_ok_Egret", kEd);
        });
        ASSERT_TRUE(editor.RunModal());
        EXPECT_EQ(record.keyLists[c.list][1].code, c.code);
        EXPECT_EQ(record.keyLists[1 - c.list][1].code, untouched);
    }
}

TEST_F(KeyEditor, TheLightingSwitchWritesTheEffectBlock) {
    SimControl(DeviceModel::Egret).SetVariant(1);
    OpenEgret();
    Edit(8, [&](assign::KeyEdit&) {
        Ui().Click("led_switch_setting_Egret", kEd);
        EXPECT_TRUE(Ui().IsVisible("result_led_switch_Egret_3", kEd));
        Ui().SelectComboItem("result_led_switch_Egret_3", 5, kEd);
        Ui().Click("btn_ok_Egret", kEd);
    });
    EXPECT_EQ(Egret().Key(0, 7), (Code{0x07, 0x80, 0, 0}));
    EXPECT_EQ(Egret().EffectBlock()[2], 5);
    EXPECT_EQ(Page().Egret().ledEffectBlock[2], 5);
}

TEST_F(KeyEditor, EveryCategoryFitsInEveryLanguage) {
    OpenEgret();
    const std::vector<std::string> categories = {"standard_mouse_keys_setting_Egret",
                                                 "special_keys_setting_Egret",
                                                 "multimedia_setting_Egret",
                                                 "web_setting_Egret",
                                                 "pc_setting_Egret",
                                                 "user_defined_setting_Egret",
                                                 "base_macro_setting_Egret",
                                                 "fire_macro_setting_Egret",
                                                 "led_switch_setting_Egret"};
    int options = Ui().Find<ui::Container>("language_option", kMain).GetCount();
    for (int i = 1; i <= options; ++i) {
        std::string option = "language_" + std::to_string(i);
        Ui().Click(option, kMain);
        std::string file = Ui().Find(option, kMain).GetUserData();
        Edit(8, [&](assign::KeyEdit&) {
            for (const auto& category : categories) {
                Ui().Click(category, kEd);
                for (const auto& problem : oaktest::TextFitProblems(Ui().Window(kEd)))
                    ADD_FAILURE() << file << " " << category << ": " << problem;
                if (i == 1) Ui().Snapshot(::testing::TempDir() + "key_edit_" + category + ".png", kEd);
            }
            Ui().Snapshot(::testing::TempDir() + "key_edit_" + file + ".png", kEd);
            Ui().Click("btn_colse_Egret", kEd);
        });
        Ui().Click("fire_macro_Settings_Egret", kMain);
        for (const auto& problem : oaktest::TextFitProblems(Frame()))
            ADD_FAILURE() << file << " fire keys: " << problem;
        Ui().Snapshot(::testing::TempDir() + "fire_keys_" + file + ".png", kMain);
        Ui().Click("profile1_Egret", kMain);
        WaitForDeviceTasks();
    }
}

// The fire-key panel in the page's fire-macro tab.
class FireKeys : public KeyEditor {
  protected:
    void OpenFireTab() {
        OpenEgret();
        Ui().Click("fire_macro_Settings_Egret", kMain);
    }
    // Puts `text` into a field as one change (as pasting does).
    void Enter(const std::string& field, const std::string& text) {
        Ui().Find<ui::Edit>(field, kMain).SetText(text, ui::Notify::Yes);
        Ui().RunUntilIdle();
    }
    std::string Field(const std::string& name) { return Ui().Text(name, kMain); }
    int Writes() { return sim_.CallCount("Device_Set_Fire_Macro_Data_Egret"); }
    SimControl sim_{DeviceModel::Egret};
};

TEST_F(FireKeys, OutOfRangeFieldsAreCorrectedWithoutAWrite) {
    OpenFireTab();
    Enter("result_fire_X_Adjustment_Value1_Egret", "20");
    sim_.ResetCallCounts();
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
    };
    for (const Case c : {Case{"result_fire_gun_count1_Egret", "300", "255"},
                         Case{"result_fire_X_Value1_Egret", "120", "107"},
                         Case{"result_fire_X_Value1_Egret", "-200", "-128"},
                         Case{"result_fire_X_Adjustment_Value1_Egret", "-300", "-128"},
                         Case{"result_fire_shoot_time_Value1_Egret", "0", "1"},
                         Case{"result_fire_shoot_time_Value1_Egret", "65535", "65534"}}) {
        Enter(c.field, c.typed);
        EXPECT_EQ(Field(c.field), c.shown) << c.field << " " << c.typed;
    }
    EXPECT_EQ(Writes(), 0);
    EXPECT_EQ(Egret().Fire(0).data[1], 5);
}

TEST_F(FireKeys, FieldsThePatternLacksShowNothingAndStoreNothing) {
    Egret dev;
    const uint8_t bare[24] = {0xA1, 0x21, 0xFC};
    dev.b.Call(EntryPoint::Device_Set_Fire_Macro_Data_Egret, int32_t{1}, bare, int32_t{0}, int32_t{0},
               int32_t{10}, int32_t{20}, int32_t{30});
    OpenFireTab();
    Ui().Click("gun_M16_Egret", kMain);
    for (const char* f : {"result_fire_gun_count1_Egret", "result_fire_X_Value1_Egret",
                          "result_fire_Y_Value1_Egret", "result_fire_shoot_time_Value1_Egret"})
        EXPECT_EQ(Field(f), "") << f;
    Enter("result_fire_X_Adjustment_Value1_Egret", "7");
    FireMacroEntry after = Egret().Fire(1);
    EXPECT_EQ(after.xAdjust, 7);
    EXPECT_TRUE(std::equal(after.data.begin(), after.data.end(), std::begin(bare)));
    EXPECT_EQ((std::array<int, 3>{after.red, after.green, after.blue}), (std::array<int, 3>{10, 20, 30}));
}

TEST_F(FireKeys, SegmentsFollowTheVariant) {
    struct Case {
        int variant;
        const char* gun;
        int segments;
        std::array<int, 3> counts;  // factory slot s holds shot count 5 + s
    };
    for (const Case c :
         {Case{0, "gun_762mm_Fire_Egret", 3, {12, 13, 14}}, Case{0, "gun_556mm_Fire_Egret", 2, {10, 11, 0}},
          Case{1, "gun_762mm_Fire_Egret", 1, {11, 0, 0}}}) {
        SimControl(DeviceModel::Egret).SetVariant(c.variant);
        OpenFireTab();
        Ui().Click(c.gun, kMain);
        for (int s = 1; s <= 3; ++s) {
            const std::string count = "result_fire_gun_count" + std::to_string(s) + "_Egret";
            EXPECT_EQ(Ui().IsVisible(count, kMain), s <= c.segments) << c.variant << " " << c.gun << " " << s;
            if (s <= c.segments) {
                EXPECT_EQ(Field(count), std::to_string(c.counts[s - 1])) << c.gun << " " << s;
            }
        }
        frame_.reset();  // the next case starts the program again on the new variant
    }
}

// A slot the mouse failed to deliver at connection keeps its number: the other guns show and store
// their own slots, and the failed one offers nothing to edit and is never written.
TEST_F(FireKeys, ASlotThatWasNotReadKeepsItsPlaceAndIsNeverStored) {
    sim_.Inject("Device_Get_Fire_Macro_Data_Egret", 3);  // slot 2 of the connection read
    OpenFireTab();
    sim_.ClearFailures();
    Ui().Click("gun_UMP9_Egret", kMain);  // slot 3: factory count 8
    EXPECT_EQ(Field("result_fire_gun_count1_Egret"), "8");
    EXPECT_TRUE(Ui().Find("result_fire_gun_count1_Egret", kMain).IsEnabled());
    Enter("result_fire_gun_count1_Egret", "20");
    EXPECT_EQ(Egret().Fire(3).data[1], 20);
    EXPECT_EQ(Egret().Fire(4).data[1], 9);

    const FireMacroEntry unread = Egret().Fire(2);
    Ui().Click("gun_M4_Egret", kMain);
    for (const char* f : {"result_fire_gun_count1_Egret", "result_fire_X_Value1_Egret",
                          "result_fire_Y_Adjustment_Value1_Egret", "result_fire_shoot_time_Value1_Egret"}) {
        EXPECT_EQ(Field(f), "") << f;
        EXPECT_FALSE(Ui().Find(f, kMain).IsEnabled()) << f;
    }
    EXPECT_FALSE(Ui().Find("result_fire_color1_Egret", kMain).IsEnabled());
    sim_.ResetCallCounts();
    Enter("result_fire_Y_Adjustment_Value1_Egret", "4");  // a change that reaches the field anyway
    EXPECT_EQ(Writes(), 0);
    EXPECT_EQ(Egret().Fire(2), unread);

    Ui().Click("gun_AKM_Egret", kMain);
    EXPECT_EQ(Field("result_fire_gun_count1_Egret"), "5");
    EXPECT_TRUE(Ui().Find("result_fire_gun_count1_Egret", kMain).IsEnabled());
}

TEST_F(FireKeys, TheColourBoxOpensThePickerAndStoresItsChoice) {
    OpenFireTab();
    uint32_t offered = 0;
    mouse::ColorPicker::SetChooser([&](ui::WindowImplBase&, uint32_t& argb) {
        offered = argb;
        argb = 0xFF102030;
        return true;
    });
    Ui().Click("result_fire_color1_Egret", kMain);
    EXPECT_EQ(offered, 0xFFFF0000u);  // factory slot 0 is red
    FireMacroEntry after = Egret().Fire(0);
    EXPECT_EQ((std::array<int, 3>{after.red, after.green, after.blue}),
              (std::array<int, 3>{0x10, 0x20, 0x30}));
    mouse::ColorPicker::SetChooser([](ui::WindowImplBase&, uint32_t&) { return false; });
    sim_.ResetCallCounts();
    Ui().Click("result_fire_color1_Egret", kMain);
    EXPECT_EQ(Writes(), 0);
}

// A fire-macro slot as the simulated mouse of record type `R` holds it.
template <class R>
FireMacroEntry ReadFire(int slot) {
    R c;
    DeviceLibraryBinding::Instance().ReadFireMacro(c, slot);
    return static_cast<size_t>(slot) < c.fireMacros.size() ? c.fireMacros[static_cast<size_t>(slot)]
                                                           : FireMacroEntry{};
}

struct FireModel {
    const char* suffix;
    int device;  // "device_combo" position
    FireMacroEntry (*fire)(int slot);
    bool numbered = true;  // segment fields carry their number ("result_fire_X_Value1_Egret")
};

void PrintTo(const FireModel& m, std::ostream* out) {
    *out << m.suffix;
}

std::string FireModelName(const ::testing::TestParamInfo<FireModel>& param) {
    return param.param.suffix;
}

// What every model's fire-key panel does the same way.
class FireKeysOfEachModel : public KeyEditor, public ::testing::WithParamInterface<FireModel> {
  protected:
    std::string N(const std::string& base) { return base + "_" + GetParam().suffix; }
    // Field `base` of segment `segment` (1-based); "count" is the shot count, named per model.
    std::string Seg(const std::string& base, int segment) {
        if (!GetParam().numbered) return N(base == "count" ? "result_fire_count" : base);
        return N((base == "count" ? "result_fire_gun_count" : base) + std::to_string(segment));
    }
    void OpenFireTab() {
        StartApp();
        WaitForDeviceTasks();
        Ui().SelectComboItem("device_combo", GetParam().device, kMain);
        Ui().Click(N("fire_macro_Settings"), kMain);
    }
    void Enter(const std::string& field, const std::string& text) {
        Ui().Find<ui::Edit>(field, kMain).SetText(text, ui::Notify::Yes);
        Ui().RunUntilIdle();
    }
    std::string Field(const std::string& name) { return Ui().Text(name, kMain); }
};

TEST_P(FireKeysOfEachModel, TheTabShowsTheFirstGunAndValidChangesGoToTheMouse) {
    OpenFireTab();
    EXPECT_TRUE(Ui().IsSelected(N("gun_AKM"), kMain));
    // Factory slot 0: FD 05, 04 00 02, FE 00 28.
    EXPECT_EQ(Field(Seg("count", 1)), "5");
    EXPECT_EQ(Field(Seg("result_fire_X_Value", 1)), "0");
    EXPECT_EQ(Field(Seg("result_fire_Y_Value", 1)), "2");
    EXPECT_EQ(Field(Seg("result_fire_shoot_time_Value", 1)), "40");
    if (GetParam().numbered) {
        EXPECT_FALSE(Ui().IsVisible(Seg("count", 2), kMain));
    }
    const FireMacroEntry before = GetParam().fire(0);
    Enter(Seg("count", 1), "9");
    Enter(Seg("result_fire_Y_Adjustment_Value", 1), "-3");
    FireMacroEntry expected = before;
    expected.data[1] = 9;
    expected.yAdjust = -3;
    EXPECT_EQ(GetParam().fire(0), expected);
    // Out of range: corrected in the field, nothing stored.
    Enter(Seg("count", 1), "300");
    EXPECT_EQ(Field(Seg("count", 1)), "255");
    EXPECT_EQ(GetParam().fire(0), expected);
    // The last gun has a slot of its own on a panel of one segment per gun.
    Ui().Click(N("gun_762mm_Fire"), kMain);
    Enter(Seg("count", 1), "12");
    EXPECT_EQ(GetParam().fire(GetParam().numbered ? 7 : 6).data[1], 12);
    Ui().Snapshot(::testing::TempDir() + "fire_keys_" + GetParam().suffix + ".png", kMain);
}

INSTANTIATE_TEST_SUITE_P(Models, FireKeysOfEachModel,
                         ::testing::Values(FireModel{"Egret", 3, ReadFire<EgretConfig>},
                                           FireModel{"Ibis", 4, ReadFire<IbisConfig>},
                                           FireModel{"Crane", 5, ReadFire<CraneConfig>, false}),
                         FireModelName);

// The models whose guns span several slots.
class FireKeysOverSeveralSlots : public FireKeysOfEachModel {};

// The 5.56 mm and 7.62 mm presets span two and three slots on the Ibis whatever it reports.
TEST_P(FireKeysOverSeveralSlots, TheLastTwoGunsSpanSeveralSlots) {
    OpenFireTab();
    Ui().Click(N("gun_762mm_Fire"), kMain);
    for (int s = 1; s <= 3; ++s) EXPECT_TRUE(Ui().IsVisible(Seg("count", s), kMain));
    Enter(Seg("count", 3), "30");
    EXPECT_EQ(GetParam().fire(9).data[1], 30);
    Ui().Click(N("gun_556mm_Fire"), kMain);
    EXPECT_FALSE(Ui().IsVisible(Seg("count", 3), kMain));
    Enter(Seg("count", 2), "31");
    EXPECT_EQ(GetParam().fire(6).data[1], 31);
}

INSTANTIATE_TEST_SUITE_P(Models, FireKeysOverSeveralSlots,
                         ::testing::Values(FireModel{"Egret", 3, ReadFire<EgretConfig>},
                                           FireModel{"Ibis", 4, ReadFire<IbisConfig>}),
                         FireModelName);

}  // namespace
