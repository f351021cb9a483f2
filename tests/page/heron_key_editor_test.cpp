// The Heron key editors and the Heron fire-key panel, opened without their pages over a bare owner
// (the main window) and the simulated Heron libraries: what each category writes into the key,
// the capture, the validation, the macro memory's refusal, and the fire panel's checks and stores.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "AppFixture.h"
#include "SimControl.h"
#include "TextFit.h"
#include "assign/FireKeyEdit_Heron.h"
#include "assign/KeyEdit_Heron.h"
#include "assign/KeyEdit_Heron_Driver.h"
#include "device/DeviceIds.h"
#include "device/DeviceLibraryBinding.h"
#include "macro/MacroStore.h"
#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/core/Container.h"
#include "ui/core/VirtualKeys.h"
#include "ui/text/TextTable.h"

namespace {

constexpr const char* kMain = "Oakridge";
using Code = std::array<uint8_t, 4>;

// Opens both Heron libraries' devices; the driver reaches the Heron mouse with its ids.
void OpenHerons() {
    auto& b = DeviceLibraryBinding::Instance();
    ASSERT_EQ(b.Call(EntryPoint::InitMCUDevice_Heron, int32_t{kLumenorVid}, int32_t{kHeronPid}), 0);
    ASSERT_EQ(b.Call(EntryPoint::InitMCUDevice_Heron_Driver, int32_t{kLumenorVid}, int32_t{kHeronPid}, 1, 2,
                     255, 4),
              0);
}

struct HeronEditorModel {
    const char* suffix;
    DeviceModel model;
    int idBias;
    bool (*run)(ui::WindowImplBase* owner, FamilyHConfig& config, const KeySlot& slot);
};

void PrintTo(const HeronEditorModel& m, std::ostream* out) {
    *out << m.suffix;
}

template <class Editor, class Record>
bool RunEditor(ui::WindowImplBase* owner, FamilyHConfig& config, const KeySlot& slot) {
    Editor editor(owner, static_cast<Record&>(config), slot);
    return editor.RunModal();
}

const HeronEditorModel kHeronEditor{"Heron", DeviceModel::Heron, 33,
                                    RunEditor<assign::KeyEdit_Heron, HeronConfig>};
const HeronEditorModel kDriverEditor{"Heron_Driver", DeviceModel::HeronDriver, 32,
                                     RunEditor<assign::KeyEdit_Heron_Driver, HeronDriverConfig>};

class HeronKeyEditor : public oaktest::AppFixture, public ::testing::WithParamInterface<HeronEditorModel> {
  protected:
    void SetUp() override {
        AppFixture::SetUp();
        StartApp();
        WaitForDeviceTasks();
        OpenHerons();
        for (auto& keys : Config().keyLists) {
            keys.clear();
            for (int k = 0; k < 16; ++k) keys.push_back({{1, 4, 0, 0}, k});
            keys[0].code = {1, 1, 0, 0};
        }
        Cache().Clear();
    }
    void TearDown() override {
        Cache().Clear();
        AppFixture::TearDown();
    }
    FamilyHConfig& Config() {
        return GetParam().model == DeviceModel::Heron ? static_cast<FamilyHConfig&>(heron_)
                                                      : static_cast<FamilyHConfig&>(driver_);
    }
    HeronMacroCache& Cache() { return *DeviceLibraryBinding::Instance().MacroCache(GetParam().model); }
    std::string N(const std::string& base) const { return base + "_" + GetParam().suffix; }
    std::string Ed() const { return N("KeyEdit"); }
    // Runs the editor on key `key` (zero-based) of the current profile with `act` answering it.
    bool Edit(int key, const std::function<void()>& act) {
        bool opened = false;
        Ui().AnswerModal(Ed(), [&](ui::WindowImplBase&) {
            opened = true;
            act();
        });
        const auto& keys = Config().keyLists[static_cast<size_t>(Config().currentProfile)];
        const bool result = GetParam().run(&Frame(), Config(), keys[static_cast<size_t>(key)]);
        EXPECT_TRUE(opened);
        return result;
    }
    Code Key(int key) {
        return Config().keyLists[static_cast<size_t>(Config().currentProfile)][static_cast<size_t>(key)].code;
    }
    void ClickRow(const std::string& list, int index) { Ui().ClickRow(list, index, Ed()); }

    HeronConfig heron_;
    HeronDriverConfig driver_;
};

TEST_P(HeronKeyEditor, EachCategoryWritesItsThreeByteCode) {
    struct Case {
        const char* option;
        const char* list;  // null: the keyboard key, Ctrl and A
        int row;
        Code code;
    };
    const Case cases[] = {
        {"standard_mouse_keys_setting", "result_standard_mouse_keys_value", 1, {1, 2, 0, 0}},
        {"standard_mouse_keys_setting", "result_standard_mouse_keys_value", 4, {1, 16, 0, 0}},
        {"special_keys_setting", "result_special_keys_value", 0, {0, 0, 0, 0}},
        {"special_keys_setting", "result_special_keys_value", 1, {5, 0, 0, 0}},
        {"special_keys_setting", "result_special_keys_value", 6, {6, 0, 0xF0, 0}},
        {"special_keys_setting", "result_special_keys_value", 10, {2, 8, 7, 0}},
        {"multimedia_setting", "result_multimedia_value", 4, {3, 0, 0xE2, 0}},
        {"web_setting", "result_web_value", 0, {3, 2, 0x21, 0}},
        {"pc_setting", "result_pc_value", 1, {3, 1, 0x92, 0}},
        {"fire_macro_setting", "result_fire_macro_value", 0, {12, 1, 0, 0}},
        {"fire_macro_setting", "result_fire_macro_value", 6, {12, 8, 0, 0}},
        {"user_defined_setting", nullptr, 0, {2, 1, 4, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.option) + " " + std::to_string(c.row));
        Config().keyLists[0][2].code = {1, 4, 0, 0};
        const bool changed = Edit(2, [&] {
            // At open only the current function is set: the Heron editors have no profile labels.
            EXPECT_EQ(Ui().ResolvedText(N("current_value"), Ed()),
                      ui::TextTable::Instance().Resolve("%{056}"));
            EXPECT_EQ(Ui().Window(Ed()).GetManager().FindControl("key_office_mode_element"), nullptr);
            Ui().Click(N(c.option), Ed());
            if (c.list) {
                ClickRow(N(c.list), c.row);
            } else {
                Ui().Click(N("ctrl_check"), Ed());
                Ui().PressKey(ui::kVkA);
            }
            Ui().Click(N("btn_ok"), Ed());
        });
        EXPECT_TRUE(changed);
        EXPECT_EQ(Key(2), c.code);
    }
    // The editor reopens on the code's own item; OK without a new choice changes nothing.
    EXPECT_FALSE(Edit(2, [&] {
        EXPECT_TRUE(Ui().IsSelected(N("user_defined_setting"), Ed()));
        EXPECT_EQ(Ui().Text(N("result_key_value"), Ed()), "Ctrl+A");
        Ui().Click(N("btn_reset"), Ed());
    }));
    Config().keyLists[0][2].code = {12, 8, 0, 0};
    EXPECT_FALSE(Edit(2, [&] {
        EXPECT_EQ(Ui().CurSel(N("result_fire_macro_value"), Ed()), 6);
        Ui().Click(N("btn_ok"), Ed());
    }));
}

TEST_P(HeronKeyEditor, EveryKeyPressStartsAnew) {
    EXPECT_TRUE(Edit(3, [&] {
        Ui().Click(N("user_defined_setting"), Ed());
        Ui().PressKey(ui::kVkA);
        Ui().AdvanceClock(100);
        Ui().PressKey(ui::kVkA + 1);  // B, well within 500 ms: no combination
        EXPECT_EQ(Ui().Text(N("result_key_value"), Ed()), "B");
        Ui().Click(N("shift_check"), Ed());
        Ui().PressKey(ui::kVkA + 2);
        EXPECT_EQ(Ui().Text(N("result_key_value"), Ed()), "Shift+C");
        Ui().Click(N("btn_ok"), Ed());
    }));
    EXPECT_EQ(Key(3), (Code{2, 2, 6, 0}));
}

// The last left button stays whatever is chosen: the Heron models know no reserved code that would
// stand in for it, not even the double click on the second profile.
TEST_P(HeronKeyEditor, TheLastLeftButtonStaysWithoutReservedCodes) {
    const std::string message = ui::TextTable::Instance().Resolve("%{183}");
    for (int profile : {0, 1}) {
        SCOPED_TRACE(profile);
        Config().currentProfile = profile;
        EXPECT_TRUE(Edit(0, [&] {
            Ui().Click(N("special_keys_setting"), Ed());
            ClickRow(N("result_special_keys_value"), 6);  // the double click
            std::string shown;
            Ui().AnswerModal("MessageBox", [&](ui::WindowImplBase& box) {
                shown = Ui().Text("label_display", "MessageBox");
                EXPECT_EQ(box.GetOwner(), &Ui().Window(Ed()));
                Ui().Click("btn_ok", "MessageBox");
            });
            Ui().Click(N("btn_ok"), Ed());
            EXPECT_EQ(shown, message);
            EXPECT_FALSE(Ui().Window(Ed()).IsClosed());
            // Another key with the left button lets this one go.
            Config().keyLists[static_cast<size_t>(profile)][5].code = {1, 1, 0, 0};
            Ui().Click(N("btn_ok"), Ed());
        }));
        EXPECT_EQ(Key(0), (Code{6, 0, 0xF0, 0}));
    }
}

// A macro chosen in the editor goes into the library's copy at its new address; one that does not
// fit behind the others is refused with the message over the editor's owner, and nothing changes.
TEST_P(HeronKeyEditor, AChosenMacroIsPlacedOrRefusedOverTheOwner) {
    auto& list = MacroStore::Instance().List(GetParam().model);
    const bool driver = GetParam().model == DeviceModel::HeronDriver;
    MacroEntry chosen{u"Heron test macro", std::vector<uint8_t>(224, 0x21), 0};
    chosen.data[0] = 1;  // stop mode: played by class 14
    if (driver) {
        chosen.data[1] = 0, chosen.data[2] = 221;
    } else {
        chosen.data[1] = 222;
    }
    list.Add(chosen);
    const int row = static_cast<int>(list.size()) - 1;
    // Four macros of 224 bytes fill the Heron: the fifth would end beyond its capacity.
    int address = 256;
    for (int i = 0; i < 4; ++i) {
        MacroEntry held{u"Held " + std::u16string(1, static_cast<char16_t>(u'1' + i)), chosen.data, 0};
        held.data[0] = 0;
        Cache().Put(address + GetParam().idBias, held);
        Config().keyLists[1][static_cast<size_t>(i + 1)].code = {
            6, static_cast<uint8_t>((address + GetParam().idBias) >> 8),
            static_cast<uint8_t>((address + GetParam().idBias) & 0xFF), 0};
        address += 224 + 32;
    }
    const auto keysBefore = Config().keyLists;
    SimControl sim(GetParam().model);
    sim.ResetCallCounts();
    std::string shown;
    ui::WindowImplBase* owner = nullptr;
    Ui().AnswerModal("MessageBox", [&](ui::WindowImplBase& box) {
        shown = Ui().Text("label_display", "MessageBox");
        owner = box.GetOwner();
        Ui().Click("btn_ok", "MessageBox");
    });
    const bool changed = Edit(3, [&] {
        Ui().Click(N("base_macro_setting"), Ed());
        EXPECT_TRUE(Ui().IsVisible(N("result_marco_file_value"), Ed()));
        ClickRow(N("result_marco_file_value"), row);
        Ui().Click(N("btn_ok"), Ed());
    });
    list.RemoveAt(static_cast<size_t>(row));
    if (driver) {
        const int id = address + GetParam().idBias;
        EXPECT_TRUE(changed);
        EXPECT_EQ(Key(3), (Code{14, static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id & 0xFF), 0}));
        EXPECT_EQ(Cache().Find(id)->name, chosen.name);
        EXPECT_EQ(shown, "");
        // The macros went into the library's copy on this thread: no transfer to the mouse.
        EXPECT_GT(sim.CallCount("Device_Set_Marco_Buffer_Heron_Driver"), 0);
        EXPECT_EQ(sim.TransferCount(), 0);
        Ui().AnswerModal("MessageBox", nullptr);
        return;
    }
    EXPECT_FALSE(changed);
    EXPECT_EQ(shown, ui::TextTable::Instance().Resolve("%{80}"));
    EXPECT_EQ(owner, &Frame());
    EXPECT_EQ(Config().keyLists, keysBefore);
    EXPECT_EQ(Cache().Ids().size(), 4u);
    EXPECT_EQ(sim.CallCount("Device_Set_Marco_Buffer_Heron"), 0);
}

INSTANTIATE_TEST_SUITE_P(Models, HeronKeyEditor, ::testing::Values(kHeronEditor, kDriverEditor),
                         [](const auto& model) { return std::string(model.param.suffix); });

// A window holding the Heron fire-key panel alone, as the page's fire-macro tab would.
class FirePanelWindow : public ui::WindowImplBase {
  public:
    FirePanelWindow(HeronConfig& config, std::function<void()> send)
        : config_(config), send_(std::move(send)) {}
    std::string GetWindowClassName() const override { return "HeronFirePanel"; }
    std::string GetSkinFile() const override { return {}; }
    std::unique_ptr<ui::Control> CreateRootInCode() override {
        auto panel = std::make_unique<assign::FireKeyEdit_Heron>(
            config_,
            [this](uint32_t& argb) {
                offered = argb;
                argb = 0xFF102030;
                return true;
            },
            send_);
        panel->SetBkColor(0xFF111317);  // the page's background, for the pictures
        panel_ = panel.get();
        return panel;
    }
    assign::FireKeyEdit_Heron& Panel() { return *panel_; }
    uint32_t offered = 0;

  private:
    HeronConfig& config_;
    std::function<void()> send_;
    assign::FireKeyEdit_Heron* panel_ = nullptr;
};

class HeronFireKeys : public oaktest::AppFixture {
  protected:
    static constexpr const char* kPanel = "HeronFirePanel";
    void SetUp() override {
        AppFixture::SetUp();
        StartApp();
        WaitForDeviceTasks();
        OpenHerons();
    }
    // Puts `pattern` into fire slot `slot` of the library's copy.
    void SetPattern(int slot, std::array<uint8_t, 24> pattern) {
        DeviceLibraryBinding::Instance().Call(EntryPoint::Device_Set_Fire_Buffer_Heron, int32_t{slot},
                                              pattern.data(), int32_t{24});
    }
    std::array<uint8_t, 24> Pattern(int slot) {
        std::array<uint8_t, 24> p{};
        DeviceLibraryBinding::Instance().Call(EntryPoint::Device_Get_Fire_Buffer_Heron, int32_t{slot},
                                              p.data(), int32_t{24});
        return p;
    }
    void Show() {
        config_.fireMacros.clear();
        for (int slot = 0; slot < HeronConfig::kMaxFireMacros; ++slot)
            DeviceLibraryBinding::Instance().ReadFireMacro(config_, slot);
        window_ = std::make_unique<FirePanelWindow>(config_, [this] { ++sends_; });
        ASSERT_TRUE(window_->Create(&Frame(), "", {}, {0, 0, 1000, 560}));
        window_->ShowWindow(true, false);
        window_->Panel().ShowGunIfNone();
        Ui().RunUntilIdle();
    }
    void Enter(const std::string& field, const std::string& text) {
        Ui().Find<ui::Edit>(field, kPanel).SetText(text, ui::Notify::Yes);
        Ui().RunUntilIdle();
    }
    std::string Field(const std::string& name) { return Ui().Text(name, kPanel); }
    void TearDown() override {
        if (window_) window_->Close(0);
        Ui().RunUntilIdle();
        window_.reset();
        AppFixture::TearDown();
    }

    HeronConfig config_;
    std::unique_ptr<FirePanelWindow> window_;
    int sends_ = 0;
    SimControl sim_{DeviceModel::Heron};
};

TEST_F(HeronFireKeys, ShowsThePatternAndStoresEachValidChangeThenAsksForOneSend) {
    SetPattern(0, {0, 0xFD, 4, 0xAA, 0xBB, 0xFA, 0xF6, 0xFE, 12, 0x21, 0xA1});
    Show();
    EXPECT_TRUE(Ui().IsSelected("gun_AKM_Heron", kPanel));
    EXPECT_EQ(Field("result_fire_count1_Heron"), "5");
    EXPECT_EQ(Field("result_fire_Y-Axis1_Heron"), "-10");
    EXPECT_EQ(Field("result_fire_delay_times1_Heron"), "96");
    EXPECT_EQ(Field("result_fire_Y-Axis_offset1_Heron"), std::to_string(config_.fireMacros[0].xAdjust));
    EXPECT_FALSE(Ui().IsSelected("fire_stop_check_1_Heron", kPanel));
    EXPECT_FALSE(Ui().IsVisible("result_fire_count2_Heron", kPanel));

    sim_.ResetCallCounts();
    Enter("result_fire_count1_Heron", "9");
    EXPECT_EQ(Pattern(0)[2], 8);  // the count byte is the shots minus one
    EXPECT_EQ(sim_.CallCount("Device_Set_Fire_Buffer_Heron"), 1);
    EXPECT_EQ(sim_.CallCount("Device_Set_Fire_RGB_Heron"), 1);
    EXPECT_EQ(sends_, 1);
    Enter("result_fire_delay_times1_Heron", "100");
    EXPECT_EQ(Pattern(0)[8], 12);  // in steps of 8 ms, truncated
    Ui().Click("fire_stop_check_1_Heron", kPanel);
    EXPECT_EQ(Pattern(0)[0], 1);
    EXPECT_EQ(sends_, 3);
    // Bytes that are no field are carried.
    EXPECT_EQ(Pattern(0)[3], 0xAA);
    EXPECT_EQ(Pattern(0)[4], 0xBB);
    // Only the library's copy changed: the page's worker sends the fire slots.
    EXPECT_EQ(sim_.CallCount("WriteFireData_Heron"), 0);
    EXPECT_EQ(sim_.TransferCount(), 0);

    Ui().Click("result_fire_color1_Heron", kPanel);
    int32_t red = 0, green = 0, blue = 0;
    DeviceLibraryBinding::Instance().Call(EntryPoint::Device_Get_Fire_RGB_Heron, &red, &green, &blue,
                                          int32_t{0});
    EXPECT_EQ((std::array<int, 3>{red, green, blue}), (std::array<int, 3>{0x10, 0x20, 0x30}));
    EXPECT_EQ(sends_, 4);

    // A gun of three slots sends once for all of them.
    Ui().Click("gun_762mm_Fire_Heron", kPanel);
    for (int s = 1; s <= 3; ++s)
        EXPECT_TRUE(Ui().IsVisible("result_fire_count" + std::to_string(s) + "_Heron", kPanel)) << s;
    sim_.ResetCallCounts();
    Ui().Click("fire_stop_check_3_Heron", kPanel);
    EXPECT_EQ(sim_.CallCount("Device_Set_Fire_Buffer_Heron"), 3);
    EXPECT_EQ(sends_, 5);
    EXPECT_EQ(Pattern(9)[0], 1);
    Ui().Click("gun_556mm_Fire_Heron", kPanel);
    EXPECT_TRUE(Ui().IsVisible("result_fire_count2_Heron", kPanel));
    EXPECT_FALSE(Ui().IsVisible("result_fire_count3_Heron", kPanel));
}

TEST_F(HeronFireKeys, OutOfRangeFieldsAreCorrectedWithoutAStore) {
    SetPattern(0, {0, 0xFD, 4, 0, 0, 0xFA, 0xF6, 0xFE, 12});
    Show();
    Enter("result_fire_Y-Axis_offset1_Heron", "20");
    sim_.ResetCallCounts();
    sends_ = 0;
    const auto before = Pattern(0);
    struct Case {
        const char* field;
        const char* typed;
        const char* shown;
    };
    for (const Case c :
         {Case{"result_fire_count1_Heron", "300", "256"}, Case{"result_fire_count1_Heron", "0", "1"},
          Case{"result_fire_Y-Axis1_Heron", "200", "127"}, Case{"result_fire_Y-Axis1_Heron", "120", "107"},
          Case{"result_fire_Y-Axis1_Heron", "-300", "-128"},
          Case{"result_fire_Y-Axis_offset1_Heron", "150", "127"},
          Case{"result_fire_delay_times1_Heron", "3000", "2040"}}) {
        Enter(c.field, c.typed);
        EXPECT_EQ(Field(c.field), c.shown) << c.field << " " << c.typed;
    }
    EXPECT_EQ(sends_, 0);
    EXPECT_EQ(sim_.CallCount("Device_Set_Fire_Buffer_Heron"), 0);
    EXPECT_EQ(Pattern(0), before);
    // The offset is held to what the movement leaves, as the movement is to what the offset leaves.
    Enter("result_fire_Y-Axis_offset1_Heron", "20");
    Enter("result_fire_Y-Axis1_Heron", "100");
    EXPECT_EQ(sends_, 2);
    Enter("result_fire_Y-Axis_offset1_Heron", "40");
    EXPECT_EQ(Field("result_fire_Y-Axis_offset1_Heron"), "27");
    EXPECT_EQ(sends_, 2);
    EXPECT_EQ(Pattern(0)[6], 100);
}

// The editors and the panel fit their texts in every language; English and Thai pictures are kept.
TEST_F(HeronFireKeys, EditorsAndPanelFitEveryLanguage) {
    SetPattern(0, {0, 0xFD, 4, 0, 0, 0xFA, 0xF6, 0xFE, 12});
    Show();
    HeronConfig keys;
    for (auto& list : keys.keyLists)
        for (int k = 0; k < 16; ++k) list.push_back({{1, k == 0 ? uint8_t{1} : uint8_t{4}, 0, 0}, k});
    const int languages = Ui().Find<ui::Container>("language_option", kMain).GetCount();
    const char* categories[] = {"standard_mouse_keys_setting_Heron",
                                "special_keys_setting_Heron",
                                "multimedia_setting_Heron",
                                "web_setting_Heron",
                                "pc_setting_Heron",
                                "user_defined_setting_Heron",
                                "base_macro_setting_Heron",
                                "fire_macro_setting_Heron"};
    for (int i = 1; i <= languages; ++i) {
        const std::string option = "language_" + std::to_string(i);
        Ui().Click(option, kMain);
        Ui().RunUntilIdle();
        const std::string file = Ui().Find(option, kMain).GetUserData();
        const bool pictured =
            file.find("English") != std::string::npos || file.find("Thai") != std::string::npos;
        Ui().Click("gun_762mm_Fire_Heron", kPanel);
        for (const auto& problem : oaktest::TextFitProblems(*window_))
            ADD_FAILURE() << file << " panel: " << problem;
        if (pictured) Ui().Snapshot(::testing::TempDir() + "heron_fire_keys_" + file + ".png", kPanel);
        Ui().AnswerModal("KeyEdit_Heron", [&](ui::WindowImplBase& w) {
            for (const char* category : categories) {
                Ui().Click(category, "KeyEdit_Heron");
                for (const auto& problem : oaktest::TextFitProblems(w))
                    ADD_FAILURE() << file << " " << category << ": " << problem;
                if (pictured)
                    Ui().Snapshot(::testing::TempDir() + "heron_key_edit_" + file + "_" + category + ".png",
                                  "KeyEdit_Heron");
            }
            Ui().Click("btn_cancel_Heron", "KeyEdit_Heron");
        });
        assign::KeyEdit_Heron editor(&Frame(), keys, keys.keyLists[0][1]);
        EXPECT_FALSE(editor.RunModal());
    }
}

}  // namespace
