// What the Egret, Ibis and Crane pages share, tested once for each model on one fixture, against the
// simulated mice, reading the result back from the library.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>

#include "AppFixture.h"
#include "SimControl.h"
#include "device/DeviceLibraryBinding.h"
#include "device/DeviceTaskPage.h"
#include "device/ModelTable.h"
#include "device/SharedState.h"
#include "macro/MacroStore.h"
#include "mouse/ColorPicker.h"
#include "mouse/FamilyEPage.h"
#include "mouse/MousePage.h"
#include "mouse/PointerSettings.h"
#include "mouse/ProfileFiles.h"
#include "platform/Paths.h"
#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/core/Toolkit.h"
#include "ui/core/VirtualKeys.h"
#include "ui/layout/TabLayout.h"
#include "ui/text/TextTable.h"

namespace {

namespace fs = std::filesystem;
constexpr const char* kMain = "Oakridge";

// What the simulated mouse holds, through the model's own library calls.
struct Held {
    int profile = 0;
    int stageCount = 0;
    int currentStage = 0;
    std::vector<DpiStage> stages;
    int reportRate = 0;
    int lightingMode = 0;
    std::array<RapidFireSlot, 3> rapidFire{};
    std::vector<KeySlot> keys;  // of the profile the mouse is on
    MacroList macros;
};

template <class Record>
Held ReadHeld() {
    Record c;
    auto& b = DeviceLibraryBinding::Instance();
    const ModelRow& row = RowOf(Record::kModel);
    const DeviceId ids = IdsOf(Record::kModel);
    b.Call(row.open, ids.vid, ids.pid, int32_t{0});
    b.ReadProfileIndex(c);
    b.ReadStages(c);
    b.ReadReportRate(c);
    b.ReadLighting(c);
    b.ReadFireSlots(c);
    b.ReadMacroKeys(c, c.currentProfile, 8);
    b.ReadMacros(c);
    return {
        c.currentProfile, c.stageCount,   c.currentStage, c.stages,
        c.reportRate,     c.lightingMode, c.rapidFire,    c.keyLists[static_cast<size_t>(c.currentProfile)],
        c.macros};
}

std::vector<uint8_t> DeviceImage(DeviceModel model) {
    auto& b = DeviceLibraryBinding::Instance();
    const ModelRow& row = RowOf(model);
    const DeviceId ids = IdsOf(model);
    b.Call(row.open, ids.vid, ids.pid, int32_t{0});
    std::vector<uint8_t> image(row.profileImage.imageSize);
    if (row.profileImage.saveSize == ProfileImageSpec::SizeArgument::ImageSize)
        b.Call(row.profileImage.save, image.data(), static_cast<int32_t>(image.size()));
    else
        b.Call(row.profileImage.save, image.data());
    return image;
}

using Records = std::tuple<EgretConfig, IbisConfig, CraneConfig>;

// The option of each model's lighting mode 1, whatever its name.
std::string LightingModeOne(DeviceModel model) {
    const struct {
        DeviceModel model;
        const char* option;
    } options[] = {{DeviceModel::Egret, "result_LED_mode_Colorful_light"},
                   {DeviceModel::Ibis, "result_LED_mode_Random"},
                   {DeviceModel::Crane, "result_LED_mode_1"}};
    for (const auto& o : options)
        if (o.model == model) return o.option;
    return {};
}

class FamilyEPages : public oaktest::AppFixture, public ::testing::WithParamInterface<DeviceModel> {
  protected:
    const ModelRow& Row() const { return RowOf(GetParam()); }
    std::string Name(const std::string& base) const { return base + "_" + Row().suffix; }
    std::string KeyButton(int key) const {
        return std::string(Row().keyGroup) + "_key_" + Row().suffix + "_" + std::to_string(key);
    }
    void Open() {
        ShowDevice(Row().page);
        ASSERT_TRUE(Ui().SkinErrors().empty()) << Ui().SkinErrors().front();
    }
    // The model's record type is the one whose model it is; nothing here names a model.
    template <class F>
    void WithRecord(F&& f) const {
        auto one = [&]<class R>(R*) {
            if (R::kModel != GetParam()) return false;
            f(static_cast<R*>(nullptr));
            return true;
        };
        [&]<class... R>(std::tuple<R...>*) {
            (one(static_cast<R*>(nullptr)) || ...);
        }(static_cast<Records*>(nullptr));
    }
    Held Device() const {
        Held held;
        WithRecord([&]<class R>(R*) { held = ReadHeld<R>(); });
        return held;
    }
    template <class R>
    mouse::FamilyEPage<R>& TypedPage() {
        return dynamic_cast<mouse::FamilyEPage<R>&>(*Frame().Page(GetParam()));
    }
    FamilyEConfig& Page() {
        FamilyEConfig* record = nullptr;
        WithRecord([&]<class R>(R*) { record = &TypedPage<R>().Config(); });
        return *record;
    }
    void RefreshPage() {
        WithRecord([&]<class R>(R*) { TypedPage<R>().Refresh(); });
    }
    bool Connected() { return dynamic_cast<DeviceTaskPage*>(Frame().Page(GetParam()))->IsConnected(); }
    int ShownSection() { return Ui().Find<ui::TabLayout>(Name("Setting_switch"), kMain).GetCurSel(); }

    oaktest::ShownMessages shown_;  // the profile files' message box texts
};

TEST_P(FamilyEPages, ShowsWhatTheMouseHolds) {
    Open();
    const Held held = Device();
    EXPECT_TRUE(Ui().IsEnabled(Name("device_Mouse") + "_page", kMain));
    EXPECT_EQ(Ui().CurSel(Name("result_DPI_count_setting"), kMain), held.stageCount - 1);
    EXPECT_TRUE(Ui().IsSelected(Name("result_report_rate" + std::to_string(held.reportRate + 1)), kMain));
}

TEST_P(FamilyEPages, EditsReachTheMouse) {
    Open();
    const int stages = Device().stageCount == 3 ? 5 : 3;
    Ui().SelectComboItem(Name("result_DPI_count_setting"), stages - 1, kMain);
    const int rate = Device().reportRate == 1 ? 3 : 1;
    Ui().Click(Name("advanced_Settings"), kMain);
    Ui().Click(Name("result_report_rate" + std::to_string(rate + 1)), kMain);
    Ui().Click(Name("led_Settings"), kMain);
    // The second mode of the model's own list, whatever its code.
    Ui().Click(Name(LightingModeOne(GetParam())), kMain);
    WaitForDeviceTasks();
    const Held held = Device();
    EXPECT_EQ(held.stageCount, stages);
    EXPECT_EQ(held.reportRate, rate);
    EXPECT_EQ(held.lightingMode, 1);
}

TEST_P(FamilyEPages, EveryProfileOfTheModelIsWritable) {
    Open();
    for (int p = Row().Variant(0).profiles; p >= 1; --p) {
        Ui().Click(Name("profile" + std::to_string(p)), kMain);
        WaitForDeviceTasks();
        EXPECT_EQ(Device().profile, p - 1) << p;
        EXPECT_EQ(ShownSection(), Row().layout.keys);
    }
}

TEST_P(FamilyEPages, SectionButtonsShowTheirPages) {
    Open();
    struct Case {
        const char* button;
        int page;
        const char* shown;
    };
    for (const Case& c : {Case{"led_Settings", Row().Variant(0).lightingPage, "light_page"},
                          Case{"fire_macro_Settings", Row().layout.fireKeys, "fire_page"},
                          Case{"advanced_Settings", Row().layout.advanced, nullptr},
                          Case{"marco_manager", Row().layout.macros, nullptr}}) {
        Ui().Click(Name(c.button), kMain);
        EXPECT_EQ(ShownSection(), c.page) << c.button;
        if (c.shown) {
            EXPECT_TRUE(Ui().IsVisible(Name(c.shown), kMain)) << c.button;
        }
    }
}

TEST_P(FamilyEPages, EveryResetButtonLoadsItsOwnFile) {
    Open();
    for (const ResetButton& reset : Row().resetButtons) {
        SCOPED_TRACE(reset.button);
        auto file = platform::ReadFileBytes(AppFolder() + reset.defaultFile, 1 << 20);
        ASSERT_TRUE(file.has_value());
        file->resize(Row().profileImage.imageSize, 0);
        Ui().PressInNextModal("MessageBox", "btn_ok");
        Ui().Click(reset.button, kMain);
        WaitForDeviceTasks();
        EXPECT_TRUE(shown_.Texts().empty());
        EXPECT_EQ(DeviceImage(GetParam()), *file);
        EXPECT_TRUE(Connected());
    }
}

TEST_P(FamilyEPages, ALevelDragAndAStageColourReachTheMouse) {
    Open();
    const int start = Ui().Value(Name("result_DPI1_slider"), kMain);
    Ui().DragSlider(Name("result_DPI1_slider"), start + 6, kMain);
    WaitForDeviceTasks();
    const int other = Device().currentStage == 1 ? 2 : 1;
    mouse::ColorPicker::SetChooser([](ui::WindowImplBase&, uint32_t& argb) {
        argb = 0xFF123456;
        return true;
    });
    Ui().Click(Name("result_DPI" + std::to_string(other) + "_color"), kMain);
    WaitForDeviceTasks();
    mouse::ColorPicker::SetChooser(nullptr);
    const Held held = Device();
    ASSERT_GE(held.stages.size(), 2u);
    EXPECT_EQ(held.stages[0].level, start + 6);
    const DpiStage& coloured = held.stages[static_cast<size_t>(other - 1)];
    EXPECT_EQ((std::array<int, 3>{coloured.red, coloured.green, coloured.blue}),
              (std::array<int, 3>{0x12, 0x34, 0x56}));
}

TEST_P(FamilyEPages, RapidFireReachesTheMouse) {
    Open();
    Ui().Click(Name("advanced_Settings"), kMain);
    Ui().Find<ui::Edit>(Name("result_fire_time1"), kMain).SetText("", ui::Notify::No);
    Ui().Type(Name("result_fire_time1"), "100", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(Device().rapidFire[0].interval, 100);
}

TEST_P(FamilyEPages, KeyAssignmentsReachTheMouse) {
    Open();
    const std::string ed = std::string("KeyEdit_") + Row().suffix;
    auto edit = [&](int key, const std::function<void()>& act) {
        bool opened = false;
        Ui().AnswerModal(ed, [&](ui::WindowImplBase&) {
            opened = true;
            act();
            Ui().Click(Name("btn_ok"), ed);
        });
        Ui().Click(KeyButton(key), kMain);
        WaitForDeviceTasks();
        ASSERT_TRUE(opened);
    };
    edit(2, [&] {
        Ui().Click(Name("user_defined_setting"), ed);
        Ui().PressKey(ui::kVkA);
    });
    EXPECT_EQ(Device().keys.at(1).code, (std::array<uint8_t, 4>{2, 0, 0, 4}));

    // A macro of the program's list is downloaded into the mouse and the key plays it.
    Page().macroUsesFolders = 0;
    const uint8_t events[] = {0xFD, 0x01, 0x05, 0x00, 0x04, 0x85, 0x00, 0x04, 0xFC, 0x00};
    MacroList& list = MacroStore::Instance().List(GetParam());
    list.Add({u"Paste", {std::begin(events), std::end(events)}, 0});
    const int row = static_cast<int>(list.size()) - 1;
    edit(3, [&] {
        Ui().Click(Name("base_macro_setting"), ed);
        auto& shown = Ui().Find<ui::List>(Name("result_marco_file_value"), ed);
        ASSERT_EQ(shown.GetCount(), row + 1);
        shown.EnsureVisible(row);
        Ui().Window(ed).GetManager().LayoutIfNeeded();
        Ui().ClickAt(shown.GetItemAt(row)->GetPos().Center(), ed);
    });
    const Held held = Device();
    ASSERT_EQ(held.macros.size(), 1u);
    EXPECT_EQ(held.macros[0].name, u"Paste");
    const int id = held.macros[0].id;
    const std::array<uint8_t, 4> plays{0x10, static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id), 0};
    EXPECT_EQ(held.keys.at(2).code, plays);

    // In the folder tree a folder row is no macro: the key keeps its macro and the mouse keeps it.
    Page().macroUsesFolders = 1;
    MacroList inFolder;
    inFolder.Add({u"Copy", {std::begin(events), std::end(events)}, 0});
    MacroStore::Instance().FileSet(GetParam())["Mine.bin"] = std::move(inFolder);
    edit(3, [&] {
        Ui().Click(Name("base_macro_setting"), ed);
        auto& tree = Ui().Find<ui::List>(Name("result_marco_folder_value"), ed);
        ASSERT_GE(tree.GetCount(), 1);
        Ui().Window(ed).GetManager().LayoutIfNeeded();
        Ui().ClickAt(tree.GetItemAt(0)->GetPos().Center(), ed);
    });
    const Held after = Device();
    EXPECT_EQ(after.keys.at(2).code, plays);
    ASSERT_EQ(after.macros.size(), 1u);
    EXPECT_EQ(after.macros[0].name, u"Paste");
}

TEST_P(FamilyEPages, ARefreshSetsThePointerBoxes) {
    Open();
    mouse::PointerValues values = mouse::PointerSettings::Instance().Get();
    values.enhancePrecision = 1;
    values.scrollByScreen = 1;
    mouse::PointerSettings::Instance().Set(values);
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    RefreshPage();
    Ui().RunUntilIdle();
    size_t notified = 0;
    for (const auto& e : recorder.Entries())
        if (e.type == "selectchanged" && (e.sender == Name("result_mouse_system_iscontrol") ||
                                          e.sender == Name("result_mouse_system_isscreen")))
            ++notified;
    EXPECT_TRUE(Ui().IsSelected(Name("result_mouse_system_iscontrol"), kMain));
    EXPECT_TRUE(Ui().IsSelected(Name("result_mouse_system_isscreen"), kMain));
    // The Ibis and the Crane apply them as if the user had ticked them; the Egret only shows them.
    EXPECT_EQ(notified, Row().refreshAppliesPointer ? 2u : 0u);
}

TEST_P(FamilyEPages, TheStatusLineSaysWhetherEachActionReachedTheMouse) {
    Open();
    const fs::path saved = TempDir() / "profile.bin";
    const fs::path tooLong = TempDir() / "too-long.bin";
    {
        std::ofstream out(tooLong, std::ios::binary);
        out << std::string(Row().profileImage.imageSize + 1, '\0');
    }
    const std::string hint = Name("hint");
    const int rate = Device().reportRate == 1 ? 3 : 1;
    struct Case {
        const char* name;
        std::function<void()> act;
        std::string shown;
    };
    auto choose = [&](const fs::path& file, const char* button) {
        Ui().AnswerFileDialog(file.string());
        Ui().Click(Name(button), kMain);
    };
    const Case cases[] = {
        {"write",
         [&] {
             Ui().Click(Name("advanced_Settings"), kMain);
             Ui().Click(Name("result_report_rate" + std::to_string(rate + 1)), kMain);
         },
         "%{675}"},
        {"save", [&] { choose(saved, "save_data"); }, "%{676}"},
        {"load", [&] { choose(saved, "import_data"); }, "%{677}"},
        {"restore",
         [&] {
             Ui().PressInNextModal("MessageBox", "btn_ok");
             Ui().Click(Row().resetButtons[0].button, kMain);
         },
         "%{678}"},
        {"load of a file that is not a profile", [&] { choose(tooLong, "import_data"); }, "%{353}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.act();
        WaitForDeviceTasks();
        EXPECT_EQ(Ui().Text(hint, kMain), c.shown);
        Ui().Snapshot(::testing::TempDir() + "status_" + Row().suffix + "_" + c.name + ".png", kMain);
        // Brief: the connected page's hint is empty again once the time is up, not before.
        Ui().AdvanceClock(mouse::MousePage::kResultShownMs - 100);
        EXPECT_EQ(Ui().Text(hint, kMain), c.shown);
        Ui().AdvanceClock(100);
        EXPECT_EQ(Ui().Text(hint, kMain), "");
    }
    EXPECT_EQ(Device().reportRate, Page().reportRate);
}

TEST_P(FamilyEPages, RestoringTheDefaultsAsksFirstAndCancelLeavesTheMouseAsItWas) {
    Open();
    const int rate = Device().reportRate == 1 ? 3 : 1;
    Ui().Click(Name("advanced_Settings"), kMain);
    Ui().Click(Name("result_report_rate" + std::to_string(rate + 1)), kMain);
    WaitForDeviceTasks();
    const std::vector<uint8_t> before = DeviceImage(GetParam());
    for (const ResetButton& reset : Row().resetButtons) {
        SCOPED_TRACE(reset.button);
        std::string asked;
        Ui().AnswerModal("MessageBox", [&](ui::WindowImplBase&) {
            asked = Ui().Text("label_display", "MessageBox");
            Ui().Click("btn_cancel", "MessageBox");
        });
        Ui().Click(reset.button, kMain);
        EXPECT_FALSE(Frame().IsDeviceTaskRunning());
        WaitForDeviceTasks();
        EXPECT_EQ(asked, ui::TextTable::Instance().Resolve("%{682}"));
    }
    EXPECT_EQ(DeviceImage(GetParam()), before);
    EXPECT_EQ(Device().reportRate, rate);
    EXPECT_EQ(Page().reportRate, rate);
}

INSTANTIATE_TEST_SUITE_P(Models, FamilyEPages,
                         ::testing::Values(DeviceModel::Egret, DeviceModel::Ibis, DeviceModel::Crane),
                         [](const auto& test) { return std::string(RowOf(test.param).suffix); });

class IbisPage : public FamilyEPages {};

TEST_P(IbisPage, TheLightingButtonNeverShowsAUartLedEditor) {
    for (int variant : {0, 1}) {
        SimControl(DeviceModel::Ibis).SetVariant(variant);
        Open();
        Ui().Click("led_Settings_Ibis", kMain);
        EXPECT_EQ(ShownSection(), 3);
        EXPECT_FALSE(Ui().Exists("uart_led_editor_Ibis", kMain));
        frame_.reset();
    }
}

TEST_P(IbisPage, ProfileThreeIsReadAndWrittenWhateverTheMouseReports) {
    for (int variant : {0, 1}) {
        SCOPED_TRACE(variant);
        SimControl(DeviceModel::Ibis).SetVariant(variant);
        Open();
        Ui().Click("profile3_Ibis", kMain);
        WaitForDeviceTasks();
        EXPECT_EQ(Device().profile, 2);
        EXPECT_FALSE(Page().keyLists[2].empty());
        EXPECT_FALSE(Ui().Text("profile_key_Ibis_1", kMain).empty());
        frame_.reset();
    }
}

TEST_P(IbisPage, ALoadWhoseFirstReadBacksFailSucceedsOnALaterTry) {
    Open();
    const ModelRow& row = RowOf(DeviceModel::Ibis);
    SimControl sim(DeviceModel::Ibis);
    // The load's own open is the first; the next is its first read-back.
    sim.Inject("InitMCUDevice_Ibis", 2);
    Ui().PressInNextModal("MessageBox", "btn_ok");
    Ui().Click(row.resetButtons[1].button, kMain);
    WaitForDeviceTasks();
    sim.ClearFailures();
    EXPECT_TRUE(Connected());
    EXPECT_TRUE(shown_.Texts().empty());
    auto file = platform::ReadFileBytes(AppFolder() + row.resetButtons[1].defaultFile, 1 << 20);
    ASSERT_TRUE(file.has_value());
    file->resize(row.profileImage.imageSize, 0);
    EXPECT_EQ(DeviceImage(DeviceModel::Ibis), *file);
}

TEST_P(IbisPage, ALoadThatCannotOpenTheMouseSaysSo) {
    Open();
    SimControl sim(DeviceModel::Ibis);
    sim.Inject("InitMCUDevice_Ibis", 0);
    Ui().PressInNextModal("MessageBox", "btn_ok");
    Ui().Click("reset_data2_Ibis", kMain);
    WaitForDeviceTasks();
    sim.ClearFailures();
    ASSERT_EQ(shown_.Texts().size(), 1u);
    EXPECT_EQ(shown_.Texts()[0], ui::TextTable::Instance().Resolve("%{081}"));
}

TEST_P(IbisPage, FireMacroRowsTakeTheirSecondByteFromTheGunChoice) {
    Open();
    constexpr const char* kEd = "KeyEdit_Ibis";
    struct Case {
        int row;
        std::array<uint8_t, 4> code;  // keep-left set, nothing remembered yet
    };
    for (const Case& c :
         {Case{6, {0x0B, 0x17, 3, 0}}, Case{5, {0x0B, 0x15, 2, 0}}, Case{2, {0x0B, 0x12, 1, 0}}}) {
        bool opened = false;
        Ui().AnswerModal(kEd, [&](ui::WindowImplBase& w) {
            opened = true;
            Ui().Click("fire_macro_setting_Ibis", kEd);
            auto& list = Ui().Find<ui::List>("result_fire_macro_value_Ibis", kEd);
            list.EnsureVisible(c.row);
            w.GetManager().LayoutIfNeeded();
            Ui().ClickAt(list.GetItemAt(c.row)->GetPos().Center(), kEd);
            Ui().Click("btn_ok_Ibis", kEd);
        });
        Ui().Click("profile_key_Ibis_3", kMain);
        WaitForDeviceTasks();
        ASSERT_TRUE(opened);
        std::array<uint8_t, 4> held{};
        DeviceLibraryBinding::Instance().Call(EntryPoint::Devcie_Get_Macro_Key_Ibis, int32_t{1}, int32_t{3},
                                              &held[0], &held[1], &held[2], &held[3]);
        EXPECT_EQ(held, c.code) << c.row;
    }
}

INSTANTIATE_TEST_SUITE_P(Ibis, IbisPage, ::testing::Values(DeviceModel::Ibis),
                         [](const auto&) { return std::string("Ibis"); });

}  // namespace
