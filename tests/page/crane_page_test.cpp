// What only the Crane page does, against the simulated Crane, read back from its library: two
// profiles, the key switch modes with their combo-key blocks, the macro random time, its key
// editor's reserved codes and gun codes, and its fire-key panel's keep-left rewrite. What it shares
// with the Egret and the Ibis runs in family_e_page_test.cpp.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "AppFixture.h"
#include "SimControl.h"
#include "assign/KeepLeftFlag.h"
#include "device/DeviceLibraryBinding.h"
#include "device/SharedState.h"
#include "macro/MacroManagerPage.h"
#include "macro/MacroStore.h"
#include "mouse/CDialogMouseCraneSetting.h"
#include "mouse/KeySwitchModes.h"
#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/controls/Option.h"
#include "ui/core/Messages.h"
#include "ui/text/TextTable.h"

namespace {

constexpr const char* kMain = "Oakridge";
constexpr const char* kEd = "KeyEdit_Crane";
using Code = std::array<uint8_t, 4>;
using Block = mouse::KeySwitchModes::Block;

// The eight key switch boxes, without the suffix.
const std::vector<std::string> kBoxes = {"result_back_key_switch_led",     "result_middle_key_switch_mode",
                                         "result_cpi_key_switch_mode",     "result_cpi+_key_switch_mode",
                                         "result_cpi-_key_switch_mode",    "result_back_key_switch_mode",
                                         "result_forward_key_switch_mode", "result_gun_key_switch_mode"};

class CranePage : public oaktest::AppFixture {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        assign::SetKeepLeftFlag(DeviceModel::Crane, 1);
    }
    void Open() {
        ShowDevice(5);
        ASSERT_TRUE(Ui().SkinErrors().empty()) << Ui().SkinErrors().front();
    }
    mouse::CDialogMouseCraneSetting& Page() {
        return PageOf<mouse::CDialogMouseCraneSetting>(DeviceModel::Crane);
    }
    CraneConfig& Record() { return Page().Config(); }
    static std::string N(const std::string& base) { return base + "_Crane"; }

    // What the simulated mouse holds.
    Block DeviceBlock(int number) {
        Block b{};
        OpenedMouse(DeviceModel::Crane)
            .Call(EntryPoint::Devcie_Get_Combo_Key_Crane, int32_t{number}, &b[0], &b[1], &b[2], &b[3]);
        return b;
    }
    Code DeviceKey(int profile, int key) {
        Code c{};
        OpenedMouse(DeviceModel::Crane)
            .Call(EntryPoint::Devcie_Get_Macro_Key_Crane, int32_t{profile + 1}, int32_t{key + 1}, &c[0],
                  &c[1], &c[2], &c[3]);
        return c;
    }
    int DeviceRandomTime() {
        int32_t v = -1;
        OpenedMouse(DeviceModel::Crane).Call(EntryPoint::Device_Get_Increased_Random_Time, &v);
        return v;
    }

    bool Ticked(const std::string& box) { return Ui().IsSelected(N(box), kMain); }
    std::set<std::string> TickedBoxes() {
        std::set<std::string> ticked;
        for (const auto& b : kBoxes)
            if (Ticked(b)) ticked.insert(b);
        return ticked;
    }
    void SetBoxes(bool ticked) {
        for (const auto& b : kBoxes) Ui().Find<ui::Option>(N(b), kMain).SetSelected(ticked, ui::Notify::No);
    }
    void OpenRandomTime() {
        Ui().Click(N("marco_manager"), kMain);
        Ui().Click(N("macro_view_folder"), kMain);
    }
    void TypeRandomTime(const std::string& text) {
        Ui().Find<ui::Edit>(N("random_time_edit"), kMain).SetText("", ui::Notify::No);
        Ui().Type(N("random_time_edit"), text, kMain);
        WaitForDeviceTasks();
    }
    // Opens the key editor on key `key` (1-based) of the current profile and lets `act` work in it.
    void Edit(int key, const std::function<void()>& act) {
        bool opened = false;
        Ui().AnswerModal(kEd, [&](ui::WindowImplBase&) {
            opened = true;
            act();
        });
        Ui().Click("profile1_key_Crane_" + std::to_string(key), kMain);
        WaitForDeviceTasks();
        ASSERT_TRUE(opened);
    }
    void ClickRow(const std::string& list, int index) { Ui().ClickRow(list, index, kEd); }
    int RowWithCode(const std::string& list, uint32_t code) {
        auto& l = Ui().Find<ui::List>(list, kEd);
        for (int i = 0; i < l.GetCount(); ++i)
            if (l.GetItemAt(i)->GetUserData() == std::to_string(code)) return i;
        return -1;
    }
};

// Factory keys of both profiles: 1 left, 2 right, 3 middle (1, 4), 4 back (1, 8), 5 forward
// (1, 16), 6 and 7 sensitivity up and down (9, 1 and 9, 2), 8 a rapid-fire key.
TEST_F(CranePage, KeySwitchBoxesWriteBothBlocksAndKeepTheKeyCodesInMemory) {
    Open();
    constexpr Block kActive = mouse::KeySwitchModes::kActive;
    constexpr Block kOff = mouse::KeySwitchModes::kOff;
    struct Case {
        const char* what;
        std::vector<std::string> ticked;  // boxes ticked before, without a word
        std::string click;                // the box the user ticks
        std::set<std::string> shown;      // the boxes ticked afterwards
        Block a;
        std::optional<Block> b;                      // unset: the operation leaves block B alone
        uint8_t back, middle, forward, sensitivity;  // byte 3 of those keys
    };
    const Case cases[] = {
        {"back light with the back box",
         {"result_back_key_switch_mode", "result_forward_key_switch_mode"},
         "result_back_key_switch_led",
         {"result_back_key_switch_led"},
         {14, 0, 0, 0},
         std::nullopt,
         2,
         0,
         0,
         0},
        {"middle with the back light",
         {"result_back_key_switch_led"},
         "result_middle_key_switch_mode",
         {"result_back_key_switch_led", "result_middle_key_switch_mode"},
         kOff,
         kActive,
         2,
         8,
         0,
         0},
        {"forward clears the back light",
         {"result_back_key_switch_led"},
         "result_forward_key_switch_mode",
         {"result_forward_key_switch_mode"},
         kActive,
         kOff,
         0,
         0,
         2,
         0},
        {"sensitivity up",
         {},
         "result_cpi+_key_switch_mode",
         {"result_cpi+_key_switch_mode"},
         kOff,
         kActive,
         0,
         0,
         0,
         8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetBoxes(false);
        for (const auto& b : c.ticked) Ui().Find<ui::Option>(N(b), kMain).SetSelected(true, ui::Notify::No);
        const Block before = DeviceBlock(4);
        Ui().Click(N(c.click), kMain);
        WaitForDeviceTasks();
        EXPECT_EQ(TickedBoxes(), c.shown);
        EXPECT_EQ(DeviceBlock(2), c.a);
        EXPECT_EQ(DeviceBlock(4), c.b.value_or(before));
        for (size_t p = 0; p < 2; ++p) {
            const auto& keys = Record().keyLists[p];
            EXPECT_EQ(keys[2].code[3], c.middle) << p;
            EXPECT_EQ(keys[3].code[3], c.back) << p;
            EXPECT_EQ(keys[4].code[3], c.forward) << p;
            EXPECT_EQ(keys[5].code[3], c.sensitivity) << p;
            EXPECT_EQ(keys[6].code[3], c.sensitivity) << p;
        }
        // Until a key is written the mouse keeps its codes.
        EXPECT_EQ(DeviceKey(0, 3), (Code{1, 8, 0, 0}));
    }
}

TEST_F(CranePage, TheDisplayTicksBoxesFromKeysAndBlocksAndNeverClearsOne) {
    Open();
    constexpr Block kActive = mouse::KeySwitchModes::kActive;
    constexpr Block kOff = mouse::KeySwitchModes::kOff;
    struct Key {
        size_t profile, key;
        Code code;
    };
    struct Case {
        const char* what;
        Block a, b;
        std::vector<Key> keys;
        std::set<std::string> shown;
    };
    const Case cases[] = {
        {"back", kActive, kOff, {{0, 3, {1, 8, 0, 2}}}, {"result_back_key_switch_mode"}},
        {"back light on profile 2",
         {14, 0, 0, 0},
         kOff,
         {{1, 3, {1, 8, 0, 2}}},
         {"result_back_key_switch_led"}},
        {"middle", kOff, kActive, {{1, 2, {1, 4, 0, 8}}}, {"result_middle_key_switch_mode"}},
        {"sensitivity keys",
         kOff,
         kActive,
         {{0, 5, {9, 1, 0, 8}}, {1, 6, {9, 2, 0, 8}}, {0, 7, {9, 0, 0, 8}}},
         {"result_cpi+_key_switch_mode", "result_cpi-_key_switch_mode", "result_cpi_key_switch_mode"}},
        {"forward and a fire key",
         kActive,
         kOff,
         {{0, 4, {1, 16, 0, 2}}, {1, 7, {11, 3, 1, 2}}},
         {"result_forward_key_switch_mode", "result_gun_key_switch_mode"}},
        {"a fire key with block B", kOff, kActive, {{0, 7, {11, 2, 1, 8}}}, {"result_gun_key_switch_mode"}},
        {"modes without an active block", kOff, kOff, {{0, 3, {1, 8, 0, 2}}, {0, 2, {1, 4, 0, 8}}}, {}},
        {"a recognised block that is not the written one",
         {7, 0x81, 0, 0},
         kOff,
         {{0, 4, {1, 16, 0, 2}}},
         {"result_forward_key_switch_mode"}},
    };
    const CraneConfig held = Record();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Record() = held;
        Record().comboBlockA = c.a;
        Record().comboBlockB = c.b;
        for (const Key& k : c.keys) Record().keyLists[k.profile][k.key].code = k.code;
        SetBoxes(false);
        oaktest::NotificationRecorder recorder(Frame().GetManager());
        Page().Refresh();
        Ui().RunUntilIdle();
        EXPECT_EQ(TickedBoxes(), c.shown);
        for (const auto& e : recorder.Entries())
            EXPECT_EQ(e.sender.find("_key_switch_"), std::string::npos) << e.type << " " << e.sender;

        SetBoxes(true);
        Page().Refresh();
        EXPECT_EQ(TickedBoxes().size(), kBoxes.size());
    }
}

TEST_F(CranePage, TheRandomTimeBoxAndValueReachTheMouse) {
    Open();
    OpenRandomTime();
    EXPECT_FALSE(Ui().IsSelected(N("random_time_check"), kMain));
    EXPECT_FALSE(Ui().IsEnabled(N("random_time_edit"), kMain));

    Ui().Click(N("random_time_check"), kMain);
    WaitForDeviceTasks();
    EXPECT_TRUE(Ui().IsEnabled(N("random_time_edit"), kMain));
    EXPECT_EQ(Ui().Text(N("random_time_edit"), kMain), "10");
    EXPECT_EQ(DeviceRandomTime(), 10);

    struct Case {
        const char* typed;
        const char* shown;
        int held;
    };
    for (const Case& c : {Case{"300", "255", 255}, Case{"42", "42", 42}, Case{"0", "1", 1}}) {
        SCOPED_TRACE(c.typed);
        TypeRandomTime(c.typed);
        EXPECT_EQ(Ui().Text(N("random_time_edit"), kMain), c.shown);
        EXPECT_EQ(DeviceRandomTime(), c.held);
        EXPECT_EQ(Record().randomTime, c.held);
    }

    Ui().Click(N("random_time_check"), kMain);
    WaitForDeviceTasks();
    EXPECT_FALSE(Ui().IsEnabled(N("random_time_edit"), kMain));
    EXPECT_EQ(Ui().Text(N("random_time_edit"), kMain), "0");
    EXPECT_EQ(DeviceRandomTime(), 0);
}

// What the mouse holds is read with the rest: the random time and the blocks the boxes show.
TEST_F(CranePage, TheRandomTimeAndTheBlocksTheMouseHoldsAreShown) {
    Open();
    auto& mouse = OpenedMouse(DeviceModel::Crane);
    mouse.Call(EntryPoint::Device_Set_Increased_Random_Time, int32_t{77});
    mouse.Call(EntryPoint::Devcie_Set_Combo_Key_Crane, int32_t{2}, int32_t{7}, int32_t{0xD1}, int32_t{0xF0},
               int32_t{0x18});
    mouse.Call(EntryPoint::Devcie_Set_Macro_Key_Crane, int32_t{2}, int32_t{5}, int32_t{1}, int32_t{16},
               int32_t{0}, int32_t{2});
    // Unplugged and plugged again, the page reads the mouse anew.
    SimControl crane(DeviceModel::Crane);
    for (bool attached : {false, true}) {
        crane.SetAttached(attached);
        Frame().PostMessage(ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0);
        ASSERT_TRUE(Ui().RunUntil([&] { return Page().IsConnected() == attached; }));
        WaitForDeviceTasks();
    }
    EXPECT_EQ(Record().randomTime, 77);
    EXPECT_EQ(Record().comboBlockA, mouse::KeySwitchModes::kActive);
    EXPECT_EQ(TickedBoxes(), (std::set<std::string>{"result_forward_key_switch_mode"}));
    OpenRandomTime();
    EXPECT_TRUE(Ui().IsSelected(N("random_time_check"), kMain));
    EXPECT_TRUE(Ui().IsEnabled(N("random_time_edit"), kMain));
    EXPECT_EQ(Ui().Text(N("random_time_edit"), kMain), "77");
}

TEST_F(CranePage, NoThirdProfileIsShownOrReachable) {
    Open();
    EXPECT_FALSE(Ui().Exists(N("profile3"), kMain));
    EXPECT_TRUE(Ui().IsVisible(N("profile2"), kMain));
    EXPECT_EQ(Record().keyLists.size(), 2u);
    // The mouse reporting a third profile changes nothing.
    Page().OnDeviceChanged(2, Record().currentStage);
    EXPECT_EQ(Record().currentProfile, 0);
    Ui().Click(N("profile2"), kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(Record().currentProfile, 1);
    int32_t profile = -1;
    OpenedMouse(DeviceModel::Crane).Call(EntryPoint::Devcie_Get_Key_Mode_Crane, &profile);
    EXPECT_EQ(profile, 1);
}

// Only on profile 2 do the reserved codes keep a primary-button function: the double click as the
// key's new code, or the built-in macro on another key.
TEST_F(CranePage, TheReservedCodesCountOnlyOnTheSecondProfile) {
    Open();
    const std::string refusal = ui::TextTable::Instance().Resolve("%{183}");
    struct Case {
        const char* what;
        int profile;
        std::optional<Code> otherKey;  // key 2's code before the edit
        bool doubleClick;              // key 1 becomes the double click, else the right button
        bool accepted;
    };
    const Case cases[] = {
        {"double click on profile 2", 1, std::nullopt, true, true},
        {"double click on profile 1", 0, std::nullopt, true, false},
        {"the built-in macro on profile 2", 1, Code{0x10, 1, 0x30, 0}, false, true},
        {"the built-in macro on profile 1", 0, Code{0x10, 1, 0x30, 0}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Ui().Click(N("profile" + std::to_string(c.profile + 1)), kMain);
        WaitForDeviceTasks();
        auto& keys = Record().keyLists[static_cast<size_t>(c.profile)];
        keys[0].code = {1, 1, 0, 0};
        keys[1].code = c.otherKey.value_or(Code{1, 2, 0, 0});
        // A refusal says so; an unexpected message box fails the test unanswered.
        std::string shown;
        if (!c.accepted)
            Ui().AnswerModal("MessageBox", [&](ui::WindowImplBase&) {
                shown = Ui().Text("label_display", "MessageBox");
                Ui().Click("btn_ok", "MessageBox");
            });
        Edit(1, [&] {
            if (c.doubleClick) {
                Ui().Click("special_keys_setting_Crane", kEd);
                const int row = RowWithCode("result_special_keys_value_Crane", 0x100130FF);
                ASSERT_GE(row, 0);
                ClickRow("result_special_keys_value_Crane", row);
            } else {
                Ui().Click("standard_mouse_keys_setting_Crane", kEd);
                ClickRow("result_standard_mouse_keys_value_Crane", 1);
            }
            Ui().Click("btn_ok_Crane", kEd);
            // A refused choice keeps the editor open to choose again.
            if (!c.accepted) Ui().Click("btn_cancel_Crane", kEd);
        });
        const Code expected = !c.accepted     ? Code{1, 1, 0, 0}
                              : c.doubleClick ? Code{0x10, 0x01, 0x30, 0xFF}
                                              : Code{1, 2, 0, 0};
        EXPECT_EQ(keys[0].code, expected);
        EXPECT_EQ(DeviceKey(c.profile, 0), expected);
        EXPECT_EQ(shown, c.accepted ? "" : refusal);
    }
}

TEST_F(CranePage, EveryFireMacroRowGivesItsOwnGunCode) {
    Open();
    for (int row : {6, 5, 0}) {
        SCOPED_TRACE(row);
        Edit(3, [&] {
            // The skin shows the fire macros whatever the page's fire tab.
            EXPECT_TRUE(Ui().IsVisible("fire_macro_setting_Crane", kEd));
            Ui().Click("fire_macro_setting_Crane", kEd);
            ClickRow("result_fire_macro_value_Crane", row);
            Ui().Click("btn_ok_Crane", kEd);
        });
        EXPECT_EQ(DeviceKey(0, 2), (Code{0x0B, static_cast<uint8_t>(0x10 | row), 1, 0}));
    }
}

// Ticking the keep-left box rewrites profile 2's fire keys of the shown gun, and only those.
TEST_F(CranePage, TheKeepLeftBoxRewritesTheSecondProfilesKeysOfTheShownGun) {
    Open();
    auto& second = Record().keyLists[1];
    second[2].code = {0x0B, 0x13, 1, 0};  // gun 3
    second[3].code = {0x0B, 0x12, 1, 0};  // gun 2
    Record().keyLists[0][2].code = {0x0B, 0x13, 1, 0};
    Ui().Click(N("fire_macro_Settings"), kMain);
    Ui().Click(N("gun_UMP9"), kMain);
    ASSERT_TRUE(Ui().IsSelected(N("keep_left_check"), kMain));
    Ui().Click(N("keep_left_check"), kMain);
    EXPECT_EQ(DeviceKey(1, 2), (Code{0x0B, 0x03, 1, 0}));
    EXPECT_EQ(second[3].code, (Code{0x0B, 0x12, 1, 0}));
    EXPECT_EQ(Record().keyLists[0][2].code, (Code{0x0B, 0x13, 1, 0}));
    Ui().Click(N("keep_left_check"), kMain);
    EXPECT_EQ(DeviceKey(1, 2), (Code{0x0B, 0x13, 1, 0}));
}

// A Crane macro without a loop entry repeats in continue mode: it shows so even after a count macro,
// and keeps it when it is saved again.
TEST_F(CranePage, AMacroWithoutALoopEntryShowsContinueAndIsSavedUnchanged) {
    Open();
    auto& list = MacroStore::Instance().List(DeviceModel::Crane);
    list.Add({u"Counted", {0xFD, 0x05, 0xA1, 0x21, 0xFC, 0x00}, 0});
    list.Add({u"Plain", {0xA1, 0xFE, 0x00, 0x32, 0x21, 0xFC, 0x00}, 0});
    const int plain = static_cast<int>(list.size()) - 1;
    Ui().Find<MacroManagerPage>("macro_file_page_Crane", kMain).Reload();
    Ui().Click(N("marco_manager"), kMain);
    auto& names = Ui().Find<ui::List>(N("Marco_Info_list"), kMain);
    auto select = [&](int row) {
        names.EnsureVisible(row);
        Ui().Window(kMain).GetManager().LayoutIfNeeded();
        Ui().ClickAt(names.GetItemAt(row)->GetPos().Center(), kMain);
    };
    select(plain - 1);
    EXPECT_TRUE(Ui().IsSelected(N("circle_setting"), kMain));
    EXPECT_EQ(Ui().Text(N("circle_edit"), kMain), "5");
    select(plain);
    EXPECT_TRUE(Ui().IsSelected(N("circle_continue"), kMain));
    EXPECT_FALSE(Ui().IsSelected(N("circle_setting"), kMain));
    EXPECT_FALSE(Ui().IsEnabled(N("circle_edit"), kMain));
    // A change saves the macro with its own mode: still no loop entry.
    Ui().SelectComboItem(N("macro_insert_combo"), 3, kMain);
    EXPECT_EQ(list[static_cast<size_t>(plain)].data,
              (std::vector<uint8_t>{0xA1, 0xFE, 0x00, 0x32, 0x21, 0xA1, 0xFE, 0x00, 0x32, 0x21, 0xFC, 0x00}));
}

}  // namespace
