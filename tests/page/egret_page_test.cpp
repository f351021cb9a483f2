// The Egret page as its user meets it, against the simulated Egret.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "SimControl.h"
#include "TextFit.h"
#include "device/DeviceLibraryBinding.h"
#include "device/SharedState.h"
#include "mouse/CDialogMouseEgretSetting.h"
#include "mouse/ColorPicker.h"
#include "mouse/StageEditor.h"
#include "ui/controls/Combo.h"
#include "ui/controls/Option.h"
#include "ui/core/Container.h"
#include "ui/text/TextTable.h"

namespace {

constexpr const char* kMain = "Oakridge";

class EgretPage : public oaktest::AppFixture {
  protected:
    void OpenEgret() { ShowDevice(3); }
    mouse::CDialogMouseEgretSetting& Page() {
        return PageOf<mouse::CDialogMouseEgretSetting>(DeviceModel::Egret);
    }
    // What the simulated mouse holds now.
    EgretConfig Device() {
        EgretConfig c;
        auto& b = DeviceLibraryBinding::Instance();
        b.Call(EntryPoint::InitMCUDevice_Egret, IdsOf(DeviceModel::Egret).vid, IdsOf(DeviceModel::Egret).pid,
               int32_t{0});
        b.ReadStages(c);
        return c;
    }
    std::string Shown(const std::string& name) { return Ui().ResolvedText(name, kMain); }
};

TEST_F(EgretPage, ShowsWhatTheMouseHolds) {
    OpenEgret();
    auto& c = Page().Egret();
    EgretConfig device = Device();
    EXPECT_TRUE(Page().IsConnected());
    EXPECT_TRUE(Ui().IsEnabled("device_Mouse_Egret_page", kMain));
    EXPECT_EQ(c.stageCount, device.stageCount);
    EXPECT_EQ(Ui().CurSel("result_DPI_count_setting_Egret", kMain), device.stageCount - 1);
    EXPECT_TRUE(Ui().IsSelected("result_DPI" + std::to_string(device.currentStage) + "_check_Egret", kMain));
    for (int d = 1; d <= 7; ++d) {
        const std::string n = std::to_string(d);
        EXPECT_EQ(Ui().Value("result_DPI" + n + "_slider_Egret", kMain), device.stages[d - 1].level);
        EXPECT_EQ(Shown("result_DPI" + n + "_edit_Egret"), Page().Stages().Label(device.stages[d - 1].level));
        EXPECT_EQ(Ui().IsEnabled("result_DPI" + n + "_slider_Egret", kMain), d <= device.stageCount) << d;
    }
    // Labels follow the skin's list: the factory's first level is 400.
    EXPECT_EQ(Page().Stages().Label(3), "400");
    ASSERT_EQ(c.keyLists[0].size(), 8u);
    EXPECT_FALSE(Shown("profile_key_Egret_1").empty());
    EXPECT_EQ(Ui().Find("profile1_Egret", kMain).GetFont(), 4);  // the active profile
    EXPECT_EQ(Ui().Find("profile2_Egret", kMain).GetFont(), 3);
    Ui().Snapshot(::testing::TempDir() + "egret_page.png", kMain);
}

TEST_F(EgretPage, UnpluggedPageIgnoresRefreshes) {
    SimControl(DeviceModel::Egret).SetAttached(false);
    OpenEgret();
    EXPECT_FALSE(Ui().IsEnabled("device_Mouse_Egret_page", kMain));
    Ui().Find("profile_key_Egret_1", kMain).SetText("untouched");
    Frame().GetManager().SendNotify(nullptr, "Update_Profile", 0, 0, true, true);
    Frame().GetManager().SendNotify(nullptr, "Change_Language_Profile", 0, 0, true, true);
    Ui().RunUntilIdle();
    EXPECT_EQ(Ui().Text("profile_key_Egret_1", kMain), "untouched");
    EXPECT_FALSE(Ui().IsEnabled("device_Mouse_Egret_page", kMain));
}

TEST_F(EgretPage, ChoosingTwoStagesWritesThemAndTellsTheLedEditor) {
    OpenEgret();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    Ui().SelectComboItem("result_DPI_count_setting_Egret", 1, kMain);
    WaitForDeviceTasks();
    for (int d = 1; d <= 7; ++d)
        EXPECT_EQ(Ui().IsEnabled("result_DPI" + std::to_string(d) + "_slider_Egret", kMain), d <= 2) << d;
    EXPECT_TRUE(Ui().IsSelected("result_DPI2_check_Egret", kMain));
    EXPECT_EQ(recorder.Count("Change_DPIColor_Egret_Data"), 1u);
    EgretConfig device = Device();
    EXPECT_EQ(device.stageCount, 2);
    EXPECT_EQ(device.currentStage, 2);
}

TEST_F(EgretPage, DraggingALevelWritesReleasingDoesNot) {
    OpenEgret();
    int start = Ui().Value("result_DPI1_slider_Egret", kMain);
    Ui().DragSlider("result_DPI1_slider_Egret", start + 6, kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(Device().stages[0].level, start + 6);
    EXPECT_EQ(Shown("result_DPI1_edit_Egret"), Page().Stages().Label(start + 6));

    // A release alone (no movement) stores and writes nothing.
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    Frame().GetManager().SendNotify(&Ui().Find("result_DPI1_slider_Egret", kMain), "valuechanged", start + 6);
    Ui().RunUntilIdle();
    EXPECT_EQ(recorder.Count("WRITE_EgretDATA"), 0u);
}

TEST_F(EgretPage, StageColoursGoThroughThePicker) {
    OpenEgret();
    int active = Page().Egret().currentStage;
    int other = active == 1 ? 2 : 1;
    uint32_t offered = 0;
    mouse::ColorPicker::SetChooser([&](ui::WindowImplBase&, uint32_t& argb) {
        offered = argb;
        argb = 0xFF123456;
        return true;
    });
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    Ui().Click("result_DPI" + std::to_string(other) + "_color_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(offered >> 24, 0xFFu);
    EXPECT_EQ(recorder.Count("Change_DPIColor_Egret_Data"), 0u);
    DpiStage written = Device().stages[other - 1];
    EXPECT_EQ((std::array<int, 3>{written.red, written.green, written.blue}),
              (std::array<int, 3>{0x12, 0x34, 0x56}));

    Ui().Click("result_DPI" + std::to_string(active) + "_color_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(recorder.Count("Change_DPIColor_Egret_Data"), 1u);

    mouse::ColorPicker::SetChooser([](ui::WindowImplBase&, uint32_t&) { return false; });  // cancelled
    recorder.Clear();
    Ui().Click("result_DPI" + std::to_string(other) + "_color_Egret", kMain);
    EXPECT_EQ(recorder.Count("WRITE_EgretDATA"), 0u);
}

TEST_F(EgretPage, TheRealPickerOpensOverTheMainWindowAndCancelChangesNothing) {
    OpenEgret();
    DpiStage before = Page().Egret().stages[0];
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    bool opened = false;
    Ui().AnswerModal("ColorPicker", [&](ui::WindowImplBase& picker) {
        opened = true;
        EXPECT_EQ(picker.GetOwner(), &Frame());
        Ui().Type("r_edit", "1", "ColorPicker");
        Ui().Click("cancelbtn", "ColorPicker");
    });
    Ui().Click("result_DPI1_color_Egret", kMain);
    EXPECT_TRUE(opened);
    EXPECT_EQ(Page().Egret().stages[0], before);
    EXPECT_EQ(recorder.Count("WRITE_EgretDATA"), 0u);
}

TEST_F(EgretPage, TheMouseChangingStageMovesThePageWithoutAWrite) {
    OpenEgret();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    int before = Page().Egret().currentStage;
    SimControl(DeviceModel::Egret).Press(1);  // stage up on the mouse itself
    ASSERT_TRUE(Ui().RunUntil([&] { return Page().Egret().currentStage != before; }));
    int now = Page().Egret().currentStage;
    EXPECT_TRUE(Ui().IsSelected("result_DPI" + std::to_string(now) + "_check_Egret", kMain));
    EXPECT_EQ(recorder.Count("WRITE_EgretDATA"), 0u);
}

TEST_F(EgretPage, KeyButtonsBeyondTheReadKeysDoNothing) {
    // The third key of profile 1 does not read: the page knows two keys.
    SimControl(DeviceModel::Egret).Inject("Devcie_Get_Macro_Key_Egret", 3);
    OpenEgret();
    ASSERT_EQ(Page().Egret().keyLists[0].size(), 2u);
    std::string before = Ui().Text("profile_key_Egret_5", kMain);
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    Ui().Click("profile_key_Egret_5", kMain);  // no editor may open: an unanswered one fails the test
    EXPECT_EQ(recorder.Count("WRITE_EgretDATA"), 0u);
    EXPECT_EQ(Ui().Text("profile_key_Egret_5", kMain), before);
}

TEST_F(EgretPage, ProfileButtonsSwitchAndWrite) {
    OpenEgret();
    Ui().Click("profile2_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(Page().Egret().currentProfile, 1);
    EXPECT_EQ(Ui().Find("profile2_Egret", kMain).GetFont(), 4);
    EXPECT_EQ(Ui().Find("profile1_Egret", kMain).GetFont(), 3);
    int32_t profile = -1;
    DeviceLibraryBinding::Instance().Call(EntryPoint::Devcie_Get_Key_Mode_Egret, &profile);
    EXPECT_EQ(profile, 1);
}

TEST_F(EgretPage, TextsFitInEveryLanguage) {
    OpenEgret();
    for (int i = 1; i <= 15; ++i) {
        std::string option = "language_" + std::to_string(i);
        Ui().Click(option, kMain);
        for (const auto& problem : oaktest::TextFitProblems(Frame()))
            ADD_FAILURE() << Ui().Text(option, kMain) << ": " << problem;
    }
}

TEST(StageLabels, EveryLabelEndsWithAComma) {
    EXPECT_EQ(mouse::StageEditor::ParseLabels("400,800,1600,"),
              (std::vector<std::string>{"400", "800", "1600", "0", "0", "0"}));
    EXPECT_EQ(mouse::StageEditor::ParseLabels("400,800,1600"),
              (std::vector<std::string>{"400", "800", "0", "0"}));
    EXPECT_TRUE(mouse::StageEditor::ParseLabels("").empty());
}

}  // namespace
