// The family-H pages (the Heron; the Heron driver shares the fixture), against the simulated mouse.
// What the mouse holds is read from its memory (the simulator's dump), never from the library's
// image, which the page changes at once.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "AppFixture.h"
#include "MacroModels.h"
#include "SimControl.h"
#include "assign/AssignmentLabel.h"
#include "assign/HeronMacroMemory.h"
#include "device/DeviceLibraryBinding.h"
#include "device/DeviceTaskPage.h"
#include "device/ModelTable.h"
#include "macro/MacroStore.h"
#include "mouse/CDialogMouseHeronSetting.h"
#include "mouse/ColorPicker.h"
#include "mouse/FamilyHPage.h"
#include "mouse/ProfileFiles.h"
#include "platform/Paths.h"
#include "ui/controls/Button.h"
#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/controls/Option.h"
#include "ui/controls/Slider.h"
#include "ui/core/Container.h"
#include "ui/core/Messages.h"
#include "ui/core/VirtualKeys.h"
#include "ui/text/TextTable.h"

namespace {

namespace fs = std::filesystem;
constexpr const char* kMain = "Oakridge";

// The mouse's memory as the simulator dumps it: each field's values by field name, integers in
// decimal and byte fields in hex.
class MouseMemory {
  public:
    explicit MouseMemory(DeviceModel model) {
        SimControl sim(model);
        auto describe = sim.Get<int32_t (*)(char*, int32_t)>("OakSim_Describe");
        std::string text(static_cast<size_t>(describe(nullptr, 0)) + 1, '\0');
        describe(text.data(), static_cast<int32_t>(text.size()));
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const size_t colon = line.find(':');
            if (colon == std::string::npos || line.rfind("  ", 0) != 0) continue;
            const std::string name = line.substr(2, colon - 2);
            // The device's state besides its memory: plug state, latency, injected failures.
            if (name == "attached" || name == "variant" || name == "latency" || name == "presses" ||
                name == "failure")
                continue;
            std::istringstream values(line.substr(colon + 1));
            auto& field = fields_[name];
            for (std::string v; values >> v;) field.push_back(v);
        }
    }
    bool Has(const std::string& name) const { return fields_.count(name) != 0; }
    int Int(const std::string& name, size_t index = 0) const { return std::stoi(Value(name, index)); }
    const std::string& Value(const std::string& name, size_t index = 0) const {
        return fields_.at(name).at(index);
    }
    bool operator==(const MouseMemory& other) const { return fields_ == other.fields_; }

  private:
    std::map<std::string, std::vector<std::string>> fields_;
};

std::string Hex(int red, int green, int blue) {
    char text[8];
    std::snprintf(text, sizeof text, "%02x%02x%02x", red, green, blue);
    return text;
}

// Where the pictures go: OAKRIDGE_SNAPSHOT_DIR when set, for a person to look at, else the test's
// own folder.
std::string SnapshotPath(const std::string& name) {
    const char* dir = std::getenv("OAKRIDGE_SNAPSHOT_DIR");
    return (dir && *dir ? std::string(dir) + "/" : ::testing::TempDir()) + name + ".png";
}

using Records = std::tuple<HeronConfig, HeronDriverConfig>;

class FamilyHPages : public oaktest::AppFixture, public ::testing::WithParamInterface<DeviceModel> {
  protected:
    const ModelRow& Row() const { return RowOf(GetParam()); }
    std::string Name(const std::string& base) const { return base + "_" + Row().suffix; }
    std::string Stage(int d, const char* rest) const {
        return "result_DPI" + std::to_string(d) + rest + "_" + Row().suffix;
    }
    void Open() {
        ShowDevice(Row().page);
        ASSERT_TRUE(Ui().SkinErrors().empty()) << Ui().SkinErrors().front();
        ASSERT_TRUE(Connected());
    }
    MouseMemory Mouse() const { return MouseMemory(GetParam()); }
    // The page's record and calls, by the model's record type; nothing here names a model.
    template <class F>
    void WithPage(F&& f) {
        auto one = [&]<class R>(R*) {
            if (R::kModel != GetParam()) return false;
            f(dynamic_cast<mouse::FamilyHPage<R>&>(*Frame().Page(GetParam())));
            return true;
        };
        [&]<class... R>(std::tuple<R...>*) {
            (one(static_cast<R*>(nullptr)) || ...);
        }(static_cast<Records*>(nullptr));
    }
    FamilyHConfig& Page() {
        FamilyHConfig* record = nullptr;
        WithPage([&](auto& page) { record = &page.Config(); });
        return *record;
    }
    bool Pending() {
        bool pending = false;
        WithPage([&](auto& page) { pending = page.HasPendingChanges(); });
        return pending;
    }
    // What the write button shows.
    bool PendingLook() { return Ui().Find<ui::Button>(Name("write_data"), kMain).IsPending(); }
    bool Connected() { return dynamic_cast<DeviceTaskPage*>(Frame().Page(GetParam()))->IsConnected(); }
    void Write() {
        Ui().Click(Name("write_data"), kMain);
        WaitForDeviceTasks();
    }
    // Replaces an edit's text as a user does: select all, then type.
    void Replace(const std::string& edit, const std::string& text) {
        Ui().Click(edit, kMain);
        Ui().PressKey(ui::kVkA, ui::kModCtrl);
        Ui().TypeText(text);
    }
    void Replug() {
        SimControl sim(GetParam());
        for (bool attached : {false, true}) {
            sim.SetAttached(attached);
            Frame().PostMessage(ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0);
            ASSERT_TRUE(Ui().RunUntil([&] { return Connected() == attached; }));
            WaitForDeviceTasks();
        }
    }
    // The shared fields of the page equal the mouse's memory.
    void ExpectMouseEqualsPage() {
        const MouseMemory mouse = Mouse();
        const FamilyHConfig& c = Page();
        EXPECT_EQ(mouse.Int("profile"), c.currentProfile);
        EXPECT_EQ(mouse.Int("stageCount"), c.stageCount);
        EXPECT_EQ(mouse.Int("currentStage"), c.currentStage);
        EXPECT_EQ(mouse.Int("fireCount"), c.fireCount);
        EXPECT_EQ(mouse.Int("fireTime"), c.fireTime);
        for (size_t i = 0; i < c.stages.size(); ++i) {
            EXPECT_EQ(mouse.Int("stageLevel", i), c.stages[i].level) << i;
            EXPECT_EQ(mouse.Value("stageColor", i), Hex(c.stages[i].red, c.stages[i].green, c.stages[i].blue))
                << i;
        }
        for (size_t p = 0; p < 2; ++p)
            for (size_t k = 0; k < c.keyLists[p].size(); ++k) {
                const auto& code = c.keyLists[p][k].code;
                EXPECT_EQ(mouse.Value("keyCode", p * 16 + k), Hex(code[0], code[1], code[2]))
                    << p << "/" << k;
            }
    }
    // A handful of edits of the shared controls, none of them what the factory mouse holds.
    void EditSharedControls() {
        Ui().Click(Name("profile2"), kMain);
        Ui().SelectComboItem(Name("result_DPI_count_setting"), 4, kMain);  // six stages
        Ui().Click(Stage(3, "_check"), kMain);
        Ui().DragSlider(Stage(3, "_slider"), 40, kMain);
        mouse::ColorPicker::SetChooser([](ui::WindowImplBase&, uint32_t& argb) {
            argb = 0xFF123456;
            return true;
        });
        Ui().Click(Stage(4, "_color"), kMain);
        Ui().Click(Name("advanced_Settings"), kMain);
        Replace(Name("result_fire_count"), "9");
        Replace(Name("result_fire_time"), "77");
    }

    oaktest::ShownMessages messages_;
};

TEST_P(FamilyHPages, ShowsWhatTheMouseHolds) {
    Open();
    const MouseMemory mouse = Mouse();
    ExpectMouseEqualsPage();
    EXPECT_FALSE(Pending());
    EXPECT_FALSE(PendingLook());
    // The count combo counts from two stages; the active stage is zero-based in the mouse.
    EXPECT_EQ(Ui().CurSel(Name("result_DPI_count_setting"), kMain), mouse.Int("stageCount") - 2);
    EXPECT_TRUE(Ui().IsSelected(Stage(mouse.Int("currentStage") + 1, "_check"), kMain));
    EXPECT_EQ(Ui().Text(Name("result_fire_count"), kMain), std::to_string(mouse.Int("fireCount") + 1));
    EXPECT_EQ(Ui().Text(Name("result_fire_time"), kMain), std::to_string(mouse.Int("fireTime")));
}

TEST_P(FamilyHPages, EditsWaitForTheWriteButtonWhichSendsEveryOneOfThem) {
    Open();
    const MouseMemory before = Mouse();
    EditSharedControls();
    WaitForDeviceTasks();
    // Nothing reached the mouse; the page holds the edits and says so.
    EXPECT_TRUE(Mouse() == before);
    EXPECT_TRUE(Pending());
    EXPECT_TRUE(PendingLook());
    EXPECT_EQ(Page().currentProfile, 1);
    EXPECT_EQ(Page().stageCount, 6);
    EXPECT_EQ(Page().currentStage, 2);
    EXPECT_EQ(Page().stages[2].level, 40);
    EXPECT_EQ(Hex(Page().stages[3].red, Page().stages[3].green, Page().stages[3].blue), "123456");
    EXPECT_EQ(Page().fireCount, 8);
    EXPECT_EQ(Page().fireTime, 77);
    auto picture = [&](const char* state) {
        for (int language : {3, 15}) {  // English, Thai
            const std::string option = "language_" + std::to_string(language);
            Ui().Click(option, kMain);
            Ui().RunUntilIdle();
            Ui().Snapshot(
                SnapshotPath(std::string(Row().suffix) + "_write_" + state + "_" + Ui().Text(option, kMain)),
                kMain);
        }
    };
    picture("pending");

    Write();
    ExpectMouseEqualsPage();
    EXPECT_FALSE(Pending());
    EXPECT_FALSE(PendingLook());
    EXPECT_EQ(Ui().Text(Name("hint"), kMain), "%{675}");
    picture("done");
}

TEST_P(FamilyHPages, AnEditFollowedByAnUnplugNeverReachesTheMouse) {
    Open();
    const MouseMemory before = Mouse();
    EditSharedControls();
    const FamilyHConfig edited = Page();
    Replug();
    // The reconnection read the mouse, which still holds what it held; the edits stay on the page,
    // pending, and the write that follows sends them.
    EXPECT_TRUE(Mouse() == before);
    EXPECT_TRUE(PendingLook());
    EXPECT_EQ(Page().stageCount, edited.stageCount);
    EXPECT_EQ(Page().fireTime, edited.fireTime);
    EXPECT_EQ(Ui().Text(Name("result_fire_time"), kMain), "77");
    Write();
    ExpectMouseEqualsPage();
    EXPECT_EQ(Mouse().Int("fireTime"), 77);
    EXPECT_FALSE(PendingLook());
}

TEST_P(FamilyHPages, TheCountCombosItemsCountFromTwoStages) {
    Open();
    for (int item = 0; item < 6; ++item) {
        SCOPED_TRACE(item);
        Ui().SelectComboItem(Name("result_DPI_count_setting"), item, kMain);
        const int stages = item + 2;
        EXPECT_EQ(Page().stageCount, stages);
        // The last enabled stage becomes the active one.
        EXPECT_EQ(Page().currentStage, stages - 1);
        EXPECT_TRUE(Ui().IsSelected(Stage(stages, "_check"), kMain));
        for (int d = 1; d <= 7; ++d) EXPECT_EQ(Ui().IsEnabled(Stage(d, "_check"), kMain), d <= stages) << d;
        Write();
        EXPECT_EQ(Mouse().Int("stageCount"), stages);
        EXPECT_EQ(Mouse().Int("currentStage"), stages - 1);
    }
}

TEST_P(FamilyHPages, ALevelIsTakenWhenItsSliderIsReleased) {
    Open();
    const int level = Page().stages[0].level;
    auto& slider = Ui().Find<ui::Slider>(Stage(1, "_slider"), kMain);
    // Moving shows the level's label only; the release takes it.
    slider.SetValue(level + 5, ui::Notify::No);
    Frame().GetManager().SendNotify(&slider, "valuechanging", level + 5, 0);
    EXPECT_EQ(Page().stages[0].level, level);
    EXPECT_FALSE(Pending());
    Ui().DragSlider(Stage(1, "_slider"), level + 9, kMain);
    EXPECT_EQ(Page().stages[0].level, level + 9);
    EXPECT_TRUE(Pending());
    Write();
    EXPECT_EQ(Mouse().Int("stageLevel", 0), level + 9);
}

TEST_P(FamilyHPages, ContinuousFireRemembersTheTypedCount) {
    Open();
    Ui().Click(Name("advanced_Settings"), kMain);
    const std::string count = Name("result_fire_count"), continuous = Name("result_fire_continue");
    Replace(count, "7");
    EXPECT_EQ(Page().fireCount, 6);
    Ui().Click(continuous, kMain);
    EXPECT_EQ(Page().fireCount, 255);
    EXPECT_FALSE(Ui().IsEnabled(count, kMain));
    Write();
    EXPECT_EQ(Mouse().Int("fireCount"), 255);
    Ui().Click(continuous, kMain);
    EXPECT_EQ(Page().fireCount, 6);
    EXPECT_TRUE(Ui().IsEnabled(count, kMain));
    Write();
    EXPECT_EQ(Mouse().Int("fireCount"), 6);

    // Shown from the mouse, continuous fire greys the box with three shots, which clearing takes.
    Ui().Click(continuous, kMain);
    Write();
    Replug();
    Ui().Click(Name("advanced_Settings"), kMain);
    EXPECT_EQ(Ui().Text(count, kMain), "3");
    EXPECT_FALSE(Ui().IsEnabled(count, kMain));
    EXPECT_TRUE(Ui().IsSelected(continuous, kMain));
    Ui().Click(continuous, kMain);
    EXPECT_EQ(Page().fireCount, 2);
}

TEST_P(FamilyHPages, RapidFireBoxesTakeAtMost255AndNoEmptyCount) {
    Open();
    Ui().Click(Name("advanced_Settings"), kMain);
    struct Case {
        const char* box;
        const char* typed;
        const char* shown;
        int fireCount;
        int fireTime;
    };
    const int time = Page().fireTime;
    for (const Case& c :
         {Case{"result_fire_count", "300", "255", 254, time}, Case{"result_fire_count", "0", "0", 254, time},
          Case{"result_fire_time", "999", "255", 254, 255}, Case{"result_fire_time", "0", "0", 254, 0}}) {
        SCOPED_TRACE(std::string(c.box) + " " + c.typed);
        Replace(Name(c.box), c.typed);
        EXPECT_EQ(Ui().Text(Name(c.box), kMain), c.shown);
        EXPECT_EQ(Page().fireCount, c.fireCount);
        EXPECT_EQ(Page().fireTime, c.fireTime);
    }
    // Leaving a count box without a shot count shows the stored count again.
    Ui().Click(Name("result_fire_time"), kMain);
    EXPECT_EQ(Ui().Text(Name("result_fire_count"), kMain), "255");
    Write();
    EXPECT_EQ(Mouse().Int("fireCount"), 254);
    EXPECT_EQ(Mouse().Int("fireTime"), 0);
}

TEST_P(FamilyHPages, EachPressTypePairStaysInStep) {
    Open();
    struct Pair {
        const char* key;
        int FamilyHConfig::*field;
        const char* memory;
    };
    for (const Pair& p : {Pair{"result_middle_key_switch", &FamilyHConfig::middlePress, "middlePress"},
                          Pair{"result_cpi_key_switch", &FamilyHConfig::cpiPress, "cpiPress"}}) {
        SCOPED_TRACE(p.key);
        const std::string pro1 = Name(std::string(p.key) + "_pro1"),
                          pro2 = Name(std::string(p.key) + "_pro2");
        // The driver keeps its press types in memory only.
        const bool written = Mouse().Has(p.memory);
        const bool was = Ui().IsSelected(pro1, kMain);
        EXPECT_EQ(Ui().IsSelected(pro2, kMain), was);
        for (int profile : {1, 2}) {
            Ui().Click(Name("profile" + std::to_string(profile)), kMain);
            const std::string& clicked = profile == 1 ? pro1 : pro2;
            Ui().Click(clicked, kMain);
            const bool now = Ui().IsSelected(clicked, kMain);
            EXPECT_NE(now, profile == 1 ? was : !was);
            EXPECT_EQ(Ui().IsSelected(pro1, kMain), now);
            EXPECT_EQ(Ui().IsSelected(pro2, kMain), now);
            EXPECT_EQ(Page().*p.field, now ? 1 : 0);
            if (!written) continue;
            Write();
            EXPECT_EQ(Mouse().Int(p.memory), now ? 1 : 0);
        }
    }
}

// A skin may carry the views a refresh of the key labels names ("…_pro"), beside or instead of the
// edited ones: every view of a key shows and sets the same press type.
TEST_P(FamilyHPages, EveryNamedViewOfAPressTypeFollows) {
    Open();
    const std::string view = Name("result_middle_key_switch_pro"),
                      pro1 = Name("result_middle_key_switch_pro1");
    {
        auto box = std::make_unique<ui::CheckBox>();
        box->SetName(view);
        box->SetFixedHeight(24);
        Ui().Find<ui::Container>(Name("press_types_pro1"), kMain).Add(std::move(box));
    }
    Page().middlePress = 1;
    WithPage([](auto& page) { page.Refresh(); });
    Ui().RunUntilIdle();
    EXPECT_TRUE(Ui().IsSelected(view, kMain));
    Ui().Click(view, kMain);
    EXPECT_FALSE(Ui().IsSelected(pro1, kMain));
    EXPECT_EQ(Page().middlePress, 0);
    Ui().Click(pro1, kMain);
    EXPECT_TRUE(Ui().IsSelected(view, kMain));
    EXPECT_EQ(Page().middlePress, 1);
}

TEST_P(FamilyHPages, TheGunPressTypeShowsOnTheSecondProfileOnly) {
    Open();
    const std::string gun = Name("result_gun_key_switch_pro2");
    Ui().Click(Name("profile1"), kMain);
    EXPECT_FALSE(Ui().IsVisible(gun, kMain));
    EXPECT_TRUE(Ui().IsVisible(Name("result_middle_key_switch_pro1"), kMain));
    Ui().Click(Name("profile2"), kMain);
    EXPECT_TRUE(Ui().IsVisible(gun, kMain));
    EXPECT_TRUE(Ui().IsVisible(Name("result_middle_key_switch_pro2"), kMain));
    EXPECT_FALSE(Ui().IsVisible(Name("result_middle_key_switch_pro1"), kMain));
    Ui().Click(gun, kMain);
    EXPECT_EQ(Page().gunPress, Ui().IsSelected(gun, kMain) ? 1 : 0);
}

TEST_P(FamilyHPages, AFailedWriteSaysSoAndKeepsTheChanges) {
    Open();
    const MouseMemory before = Mouse();
    SimControl sim(GetParam());
    const std::string write = std::string("WriteMCUDevice_") + Row().suffix;
    EditSharedControls();
    sim.Inject(write.c_str(), 1);
    Write();
    EXPECT_TRUE(Mouse() == before);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{ui::TextTable::Instance().Resolve("%{573}")});
    EXPECT_EQ(Ui().Text(Name("hint"), kMain), "%{574}");
    EXPECT_TRUE(Pending());
    EXPECT_TRUE(PendingLook());
    EXPECT_TRUE(Connected());
    EXPECT_EQ(Page().fireTime, 77);
    // The same changes go with the next write.
    Write();
    ExpectMouseEqualsPage();
    EXPECT_FALSE(PendingLook());
}

TEST_P(FamilyHPages, AnEditMadeWhileTheWriteWaitsStaysPending) {
    Open();
    Ui().Click(Name("advanced_Settings"), kMain);
    Replace(Name("result_fire_time"), "12");
    Ui().Click(Name("write_data"), kMain);
    // Before the worker has run, the user edits again: the write clears nothing it did not copy.
    Replace(Name("result_fire_time"), "13");
    WaitForDeviceTasks();
    EXPECT_TRUE(PendingLook());
    Write();
    EXPECT_EQ(Mouse().Int("fireTime"), 13);
    EXPECT_FALSE(PendingLook());
}

// Stages go to the library in order — count, active stage, then level and colour of each stage —
// and stop at the first call it refuses; the next write gives it the whole page again.
TEST_P(FamilyHPages, TheStagesStopAtTheFirstRefusedCall) {
    Open();
    SimControl sim(GetParam());
    const std::string s = Row().suffix;
    const std::string step = "Device_Set_CPI_Step_" + s, current = "Device_Set_Current_CPI_" + s,
                      value = "Device_Set_CPI_Value_" + s, rgb = "Device_Set_CPI_RGB_" + s;
    struct Case {
        std::string refused;
        int call;
        int steps, currents, values, colours;  // calls made
    };
    const Case cases[] = {{step, 1, 1, 0, 0, 0},
                          {current, 1, 1, 1, 0, 0},
                          {value, 1, 1, 1, 1, 0},
                          {rgb, 3, 1, 1, 3, 3},
                          {value, 7, 1, 1, 7, 6}};
    int item = 3;  // the factory mouse's five stages
    for (const Case& c : cases) {
        SCOPED_TRACE(c.refused + " call " + std::to_string(c.call));
        sim.ResetCallCounts();
        sim.Inject(c.refused.c_str(), c.call);
        item = item == 3 ? 1 : 3;
        Ui().SelectComboItem(Name("result_DPI_count_setting"), item, kMain);
        EXPECT_EQ(sim.CallCount(step.c_str()), c.steps);
        EXPECT_EQ(sim.CallCount(current.c_str()), c.currents);
        EXPECT_EQ(sim.CallCount(value.c_str()), c.values);
        EXPECT_EQ(sim.CallCount(rgb.c_str()), c.colours);
        sim.ClearFailures();
        Write();
        ExpectMouseEqualsPage();
        EXPECT_EQ(Mouse().Int("stageCount"), item + 2);
    }
}

TEST_P(FamilyHPages, ASaveKeepsTheEditsAndALoadOrRestoreReplacesThem) {
    Open();
    const fs::path file = TempDir() / "heron.bin";
    EditSharedControls();
    const MouseMemory before = Mouse();
    Ui().AnswerFileDialog(file.string());
    Ui().Click(Name("save_data"), kMain);
    WaitForDeviceTasks();
    // The file holds the mouse's image; the mouse took it back unchanged and the edits still wait.
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(fs::file_size(file), Row().profileImage.imageSize);
    EXPECT_TRUE(Mouse() == before);
    EXPECT_TRUE(PendingLook());
    EXPECT_EQ(Page().fireTime, 77);

    // Loading the file replaces the edits with what the mouse then holds.
    Ui().AnswerFileDialog(file.string());
    Ui().Click(Name("import_data"), kMain);
    WaitForDeviceTasks();
    EXPECT_FALSE(PendingLook());
    EXPECT_EQ(Page().fireTime, before.Int("fireTime"));
    ExpectMouseEqualsPage();

    // Restoring the defaults asks, then loads the default file.
    Ui().Click(Name("advanced_Settings"), kMain);
    Replace(Name("result_fire_time"), "5");
    Ui().PressInNextModal("MessageBox", "btn_ok");
    Ui().Click(Row().resetButtons[0].button, kMain);
    WaitForDeviceTasks();
    EXPECT_FALSE(PendingLook());
    auto defaults = platform::ReadFileBytes(
        mouse::ProfileFiles::DefaultFile(Row().resetButtons[0].defaultFile), Row().profileImage.imageSize);
    ASSERT_TRUE(defaults);
    EXPECT_EQ(Mouse().Int("fireTime"), (*defaults)[23]);
    ExpectMouseEqualsPage();
}

TEST_P(FamilyHPages, AFailedSaveLoadsNoOlderFileBack) {
    Open();
    const fs::path file = TempDir() / "older.bin";
    // An older profile at the path, with other stages than the mouse's.
    {
        auto image =
            platform::ReadFileBytes(mouse::ProfileFiles::DefaultFile(Row().resetButtons[0].defaultFile),
                                    Row().profileImage.imageSize);
        ASSERT_TRUE(image);
        (*image)[5] = 3;
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(image->data()), static_cast<std::streamsize>(image->size()));
    }
    const MouseMemory before = Mouse();
    SimControl(GetParam()).Inject(InfoOf(Row().profileImage.save).name, 1);
    Ui().AnswerFileDialog(file.string());
    Ui().Click(Name("save_data"), kMain);
    WaitForDeviceTasks();
    EXPECT_TRUE(Mouse() == before);
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{ui::TextTable::Instance().Resolve("%{350}")});
}

INSTANTIATE_TEST_SUITE_P(Models, FamilyHPages,
                         ::testing::Values(DeviceModel::Heron, DeviceModel::HeronDriver),
                         [](const auto& test) { return std::string(RowOf(test.param).suffix); });

// The key editors on the family-H pages: what the editor changes is shown at once and waits for the
// write like every other edit; a macro choice moves the other macro keys along with their macros.
class FamilyHKeys : public FamilyHPages {
  protected:
    using Code = std::array<uint8_t, 4>;

    void TearDown() override {
        // The macro list outlives the test: the rows it added go.
        auto& list = MacroStore::Instance().List(GetParam());
        while (list.size() > macrosBefore_) list.RemoveAt(list.size() - 1);
        FamilyHPages::TearDown();
    }
    std::string Editor() const { return Name("KeyEdit"); }
    std::string KeyButton(int number) const {
        return "profile_key_" + std::string(Row().suffix) + "_" + std::to_string(number);
    }
    // Clicks key button `number` of the current profile and answers its editor with `act`.
    void EditKey(int number, const std::function<void()>& act) {
        bool opened = false;
        Ui().AnswerModal(Editor(), [&](ui::WindowImplBase&) {
            opened = true;
            act();
        });
        Ui().Click(KeyButton(number), kMain);
        EXPECT_TRUE(opened) << KeyButton(number);
    }
    void ClickRow(const std::string& list, int index) { Ui().ClickRow(list, index, Editor()); }
    void ChooseMacro(int number, int row) {
        EditKey(number, [&] {
            Ui().Click(Name("base_macro_setting"), Editor());
            ClickRow(Name("result_marco_file_value"), row);
            Ui().Click(Name("btn_ok"), Editor());
        });
    }
    // A macro of one left click in the model's encoding, added to its macro list; returns its row.
    int AddMacro(const std::u16string& name) {
        auto& list = MacroStore::Instance().List(GetParam());
        if (!macrosAdded_) macrosBefore_ = list.size();
        macrosAdded_ = true;
        list.Add({name, ClickMacro(), 0});
        return static_cast<int>(list.size()) - 1;
    }
    const std::vector<uint8_t>& ClickMacro() const {
        for (const auto& m : oaktest::kMacroModels)
            if (m.spec().model == GetParam()) return m.newMacroClick;
        throw std::logic_error("no macro model");
    }
    // The id of a macro at `address` of the macro memory, and the distance between two click macros.
    int Id(int address) const {
        const auto constants = GetParam() == DeviceModel::Heron ? assign::HeronMacroMemory::kHeron
                                                                : assign::HeronMacroMemory::kHeronDriver;
        return address + constants.idBias;
    }
    int Step() const { return static_cast<int>(ClickMacro().size()) + assign::HeronMacroMemory::kNameBytes; }
    static Code MacroCode(int id) {
        return {assign::HeronMacroMemory::kMacroClass, static_cast<uint8_t>(id >> 8),
                static_cast<uint8_t>(id & 0xFF), 0};
    }
    static std::string Hex(const Code& code) { return ::Hex(code[0], code[1], code[2]); }
    static std::string MacroField(int id) { return "macro id " + std::to_string(id); }
    static std::string Named(const char* name) { return std::string("\"") + name + "\","; }
    std::string Label(const Code& code) const {
        return assign::AssignmentLabel(GetParam(), code[0], code[1], code[2]);
    }

  private:
    size_t macrosBefore_ = 0;
    bool macrosAdded_ = false;
};

TEST_P(FamilyHKeys, AChosenFunctionIsShownAtOnceAndReachesTheMouseWithTheWrite) {
    Open();
    const MouseMemory before = Mouse();
    EditKey(3, [&] {
        Ui().Click(Name("special_keys_setting"), Editor());
        ClickRow(Name("result_special_keys_value"), 1);
        Ui().Click(Name("btn_ok"), Editor());
    });
    const Code chosen{5, 0, 0, 0};
    EXPECT_EQ(Page().keyLists[0][2].code, chosen);
    EXPECT_EQ(Ui().Text(KeyButton(3), kMain), Label(chosen));
    EXPECT_TRUE(PendingLook());
    WaitForDeviceTasks();
    EXPECT_TRUE(Mouse() == before);

    Write();
    EXPECT_EQ(Mouse().Value("keyCode", 2), Hex(chosen));
    EXPECT_FALSE(PendingLook());
    ExpectMouseEqualsPage();

    // A cancelled editor changes nothing and leaves nothing waiting.
    EditKey(3, [&] {
        Ui().Click(Name("standard_mouse_keys_setting"), Editor());
        ClickRow(Name("result_standard_mouse_keys_value"), 1);
        Ui().Click(Name("btn_cancel"), Editor());
    });
    EXPECT_EQ(Page().keyLists[0][2].code, chosen);
    EXPECT_FALSE(PendingLook());
}

TEST_P(FamilyHKeys, AMacroChoiceMovesTheOtherMacroKeysAndTheWriteSendsThemOnTheirNewIds) {
    Open();
    const int first = AddMacro(u"First"), second = AddMacro(u"Second"), third = AddMacro(u"Third");
    ChooseMacro(4, first);
    ChooseMacro(5, second);
    Write();
    MouseMemory mouse = Mouse();
    EXPECT_EQ(mouse.Value("keyCode", 3), Hex(MacroCode(Id(256))));
    EXPECT_EQ(mouse.Value("keyCode", 4), Hex(MacroCode(Id(256 + Step()))));
    EXPECT_EQ(mouse.Value(MacroField(Id(256))), Named("First"));
    EXPECT_EQ(mouse.Value(MacroField(Id(256 + Step()))), Named("Second"));

    // Key 4 takes a third macro: its first one goes, the second moves down and key 5 with it.
    ChooseMacro(4, third);
    EXPECT_EQ(Page().keyLists[0][4].code, MacroCode(Id(256)));
    EXPECT_EQ(Page().keyLists[0][3].code, MacroCode(Id(256 + Step())));
    for (int number : {4, 5})
        EXPECT_EQ(Ui().Text(KeyButton(number), kMain), Label(Page().keyLists[0][number - 1].code)) << number;
    EXPECT_TRUE(PendingLook());
    WaitForDeviceTasks();
    EXPECT_TRUE(Mouse() == mouse);

    Write();
    mouse = Mouse();
    EXPECT_EQ(mouse.Value("keyCode", 4), Hex(MacroCode(Id(256))));
    EXPECT_EQ(mouse.Value("keyCode", 3), Hex(MacroCode(Id(256 + Step()))));
    EXPECT_EQ(mouse.Value(MacroField(Id(256))), Named("Second"));
    EXPECT_EQ(mouse.Value(MacroField(Id(256 + Step()))), Named("Third"));
    EXPECT_FALSE(mouse.Has(MacroField(Id(256 + 2 * Step()))));
    EXPECT_FALSE(PendingLook());
}

// The page's macro cache stands for the mouse's macro memory: a restore that leaves the mouse
// without macros leaves none to lay a new one out behind.
TEST_P(FamilyHKeys, AfterARestoreANewMacroTakesTheFirstAddress) {
    Open();
    ChooseMacro(4, AddMacro(u"First"));
    ChooseMacro(5, AddMacro(u"Second"));
    Write();
    ASSERT_TRUE(Mouse().Has(MacroField(Id(256 + Step()))));
    Ui().Click(Name("advanced_Settings"), kMain);
    Ui().PressInNextModal("MessageBox", "btn_ok");
    Ui().Click(Row().resetButtons[0].button, kMain);
    WaitForDeviceTasks();
    ASSERT_FALSE(Mouse().Has(MacroField(Id(256))));

    Ui().Click(Name("profile1"), kMain);
    ChooseMacro(4, AddMacro(u"Third"));
    EXPECT_EQ(Page().keyLists[0][3].code, MacroCode(Id(256)));
    Write();
    EXPECT_EQ(Mouse().Value(MacroField(Id(256))), Named("Third"));
    EXPECT_FALSE(Mouse().Has(MacroField(Id(256 + Step()))));
}

TEST_P(FamilyHKeys, AMacroWaitingForTheWriteOutlivesAReconnection) {
    Open();
    ChooseMacro(4, AddMacro(u"First"));
    // The read gives the library the mouse's image, which holds no macro yet; the page gives its
    // macros back with its other edits.
    Replug();
    EXPECT_TRUE(PendingLook());
    EXPECT_EQ(Page().keyLists[0][3].code, MacroCode(Id(256)));
    EXPECT_FALSE(Mouse().Has(MacroField(Id(256))));
    Write();
    const MouseMemory mouse = Mouse();
    EXPECT_EQ(mouse.Value("keyCode", 3), Hex(MacroCode(Id(256))));
    EXPECT_EQ(mouse.Value(MacroField(Id(256))), Named("First"));
}

// The editor's macro category lists the macros of the view the page shows, from the first open on.
TEST_P(FamilyHKeys, TheEditorListsTheMacrosOfTheViewThePageShows) {
    Open();
    for (const char* view : {"", "macro_view_folder", "macro_view_file"}) {
        SCOPED_TRACE(view);
        const bool folder = std::string(view) == "macro_view_folder";
        if (*view) {
            Ui().Click(Name("marco_manager"), kMain);
            Ui().Click(Name(view), kMain);
            Ui().Click(Name("profile1"), kMain);
        }
        EditKey(4, [&] {
            Ui().Click(Name("base_macro_setting"), Editor());
            EXPECT_EQ(Ui().IsVisible(Name("result_marco_folder_value"), Editor()), folder);
            EXPECT_EQ(Ui().IsVisible(Name("result_marco_file_value"), Editor()), !folder);
            Ui().Click(Name("btn_cancel"), Editor());
        });
    }
}

// Pictures for a person to look at: the key editor over the page and, where the model has one, the
// fire-key tab, in English and Thai.
TEST_P(FamilyHKeys, PicturesOfTheKeyEditorAndTheFireKeys) {
    Open();
    for (int language : {3, 15}) {  // English, Thai
        const std::string option = "language_" + std::to_string(language);
        Ui().Click(option, kMain);
        Ui().RunUntilIdle();
        const std::string tag = std::string(Row().suffix) + "_" + Ui().Text(option, kMain);
        Ui().Click(Name("profile1"), kMain);
        EditKey(4, [&] {
            Ui().Click(Name("special_keys_setting"), Editor());
            Ui().RunUntilIdle();
            EXPECT_TRUE(Ui().Snapshot(SnapshotPath(tag + "_key_editor"), Editor()));
            Ui().Click(Name("btn_cancel"), Editor());
        });
        if (Row().layout.fireKeys < 0) continue;
        Ui().Click(Name("fire_macro_Settings"), kMain);
        Ui().RunUntilIdle();
        EXPECT_TRUE(Ui().Snapshot(SnapshotPath(tag + "_fire_keys"), kMain));
    }
}

INSTANTIATE_TEST_SUITE_P(Models, FamilyHKeys, ::testing::Values(DeviceModel::Heron, DeviceModel::HeronDriver),
                         [](const auto& test) { return std::string(RowOf(test.param).suffix); });

// What only the Heron has: its lighting, and the fire data that reaches the mouse at once.
using HeronPage = FamilyHPages;

TEST_P(HeronPage, LightingOptionsWaitForTheWriteToo) {
    Open();
    Ui().Click("led_Settings_Heron", kMain);
    struct Case {
        const char* option;
        const char* field;
        int value;
    };
    const Case cases[] = {{"result_LED_mode_random_sport_Heron", "lightingMode", 3},
                          {"result_LED_mode_off_Heron", "lightingMode", 6},
                          {"result_LED_mode_rainbow_Heron", "lightingMode", 0},
                          {"result_LED_status_off_Heron", "ledOn", 1},
                          {"result_LED_status_on_Heron", "ledOn", 0},
                          {"result_LED_light_half_Heron", "lightAll", 0},
                          {"result_LED_light_all_Heron", "lightAll", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.option);
        const MouseMemory before = Mouse();
        Ui().Click(c.option, kMain);
        if (before.Int(c.field) != c.value) {
            EXPECT_TRUE(PendingLook());
        }
        EXPECT_EQ(Mouse().Int(c.field), before.Int(c.field));
        Write();
        EXPECT_EQ(Mouse().Int(c.field), c.value);
        EXPECT_TRUE(Ui().IsSelected(c.option, kMain));
    }
    Ui().DragSlider("result_mode_speed_Heron", 7, kMain);
    Write();
    EXPECT_EQ(Mouse().Int("lightingSpeed"), 7);
}

TEST_P(HeronPage, LightingEditsOutliveAReconnectionAndGoWithTheNextWrite) {
    Open();
    Ui().Click("led_Settings_Heron", kMain);
    Ui().Click("result_LED_mode_random_sleep_Heron", kMain);
    Ui().Click("result_LED_status_off_Heron", kMain);
    const MouseMemory before = Mouse();
    Replug();
    EXPECT_TRUE(Mouse() == before);
    Ui().Click("led_Settings_Heron", kMain);
    EXPECT_TRUE(Ui().IsSelected("result_LED_mode_random_sleep_Heron", kMain));
    EXPECT_TRUE(Ui().IsSelected("result_LED_status_off_Heron", kMain));
    Write();
    EXPECT_EQ(Mouse().Int("lightingMode"), 2);
    EXPECT_EQ(Mouse().Int("ledOn"), 1);
}

// The key editor may change more than the clicked key (macro keys follow their macros' new ids):
// every key is shown anew and waits for the write.
TEST_P(HeronPage, AKeyEditShowsAndSendsEveryChangedKey) {
    Open();
    mouse::CDialogMouseHeronSetting::SetKeyEditor([](ui::WindowImplBase&, HeronConfig& c, KeySlot& slot) {
        slot.code = {1, 4, 0, 0};              // middle button
        c.keyLists[1][5].code = {1, 2, 0, 0};  // right button, on the other profile
        return true;
    });
    const MouseMemory before = Mouse();
    Ui().Click("profile_key_Heron_1", kMain);
    mouse::CDialogMouseHeronSetting::SetKeyEditor(nullptr);
    EXPECT_EQ(Ui().Text("profile_key_Heron_1", kMain), Ui().Text("profile_key_Heron_3", kMain));
    EXPECT_TRUE(PendingLook());
    EXPECT_TRUE(Mouse() == before);
    Write();
    EXPECT_EQ(Mouse().Value("keyCode", 0), "010400");
    EXPECT_EQ(Mouse().Value("keyCode", 16 + 5), "010200");
    ExpectMouseEqualsPage();
}

TEST_P(HeronPage, FireDataGoesToTheMouseAtOnceAndLeavesNothingPending) {
    Open();
    SimControl sim(DeviceModel::Heron);
    sim.ResetCallCounts();
    PageOf<mouse::CDialogMouseHeronSetting>(DeviceModel::Heron).SendFireData();
    WaitForDeviceTasks();
    EXPECT_EQ(sim.CallCount("WriteFireData_Heron"), 1);
    EXPECT_EQ(sim.CallCount("WriteMCUDevice_Heron"), 0);
    EXPECT_FALSE(PendingLook());
}

TEST_P(HeronPage, TheFirePanelsChangeGoesToTheMouseFromTheWorker) {
    Open();
    Ui().Click("fire_macro_Settings_Heron", kMain);
    // Opening the tab shows the first gun.
    EXPECT_TRUE(Ui().IsSelected("gun_AKM_Heron", kMain));
    const MouseMemory before = Mouse();
    SimControl sim(DeviceModel::Heron);
    sim.ResetCallCounts();
    const std::string delay = "result_fire_delay_times1_Heron";
    const std::string shown = Ui().Text(delay, kMain);
    Ui().Find<ui::Edit>(delay, kMain).SetText(shown == "96" ? "104" : "96", ui::Notify::Yes);
    // Nothing was sent from the notification itself: the send is a request for the worker.
    EXPECT_EQ(sim.CallCount("WriteFireData_Heron"), 0);
    WaitForDeviceTasks();
    EXPECT_EQ(sim.CallCount("WriteFireData_Heron"), 1);
    EXPECT_EQ(sim.CallCount("WriteMCUDevice_Heron"), 0);
    EXPECT_FALSE(PendingLook());
    // One fire slot changed on the mouse, to what the library holds for it.
    const MouseMemory after = Mouse();
    int changed = 0;
    for (int slot = 0; slot < HeronConfig::kMaxFireMacros; ++slot) {
        if (after.Value("fireMacroPattern", slot) == before.Value("fireMacroPattern", slot)) continue;
        ++changed;
        std::array<uint8_t, 24> held{};
        DeviceLibraryBinding::Instance().Call(EntryPoint::Device_Get_Fire_Buffer_Heron, int32_t{slot},
                                              held.data(), int32_t{24});
        std::string hex;
        for (uint8_t b : held) hex += ::Hex(b, 0, 0).substr(0, 2);
        EXPECT_EQ(after.Value("fireMacroPattern", slot), hex) << slot;
    }
    EXPECT_EQ(changed, 1);

    // A change the mouse refused: after the next read the open panel shows what the mouse holds.
    sim.Inject("WriteFireData_Heron", 1);
    Ui().Find<ui::Edit>(delay, kMain).SetText("200", ui::Notify::Yes);
    WaitForDeviceTasks();
    EXPECT_TRUE(Mouse() == after);
    Replug();
    EXPECT_NE(Ui().Text(delay, kMain), "200");
    EXPECT_TRUE(Ui().IsSelected("gun_AKM_Heron", kMain));
}

INSTANTIATE_TEST_SUITE_P(Models, HeronPage, ::testing::Values(DeviceModel::Heron),
                         [](const auto& test) { return std::string(RowOf(test.param).suffix); });

}  // namespace
