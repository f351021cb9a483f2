// The UART LED editor of the Egret variant with a LED strip, against the simulated mouse.
#include <gtest/gtest.h>

#include <array>

#include "AppFixture.h"
#include "SimControl.h"
#include "TextFit.h"
#include "device/DeviceIds.h"
#include "device/DeviceLibraryBinding.h"
#include "mouse/CDialogMouseEgretSetting.h"
#include "mouse/ColorPicker.h"
#include "mouse/PageOperation.h"
#include "mouse/UartLedEdit_Egret.h"
#include "ui/controls/Combo.h"
#include "ui/core/Messages.h"
#include "ui/core/VirtualKeys.h"

namespace {

constexpr const char* kMain = "Oakridge";
constexpr const char* kLoopDirection = "result_uart_LED_loop_count_direction_Egret";
constexpr const char* kLoopColour = "result_uart_LED_loop_count_color_Egret";
constexpr const char* kEnable = "result_uart_LED_transition_bg_color_enable_Egret";

// The effects the seeded mouse gives its eight modes; mode 2 is active.
constexpr std::array<uint8_t, 8> kBlock = {0, 4, 12, 13, 17, 22, 27, 31};
constexpr int kActiveMode = 2;

// Entry 4: direction 1, speed 5, transition colour 2 (box clear), background 3, loops 10 and 3.
constexpr UartLedEntry kEntry4{1, 0x21, 0x32, (9 << 3) | 2};
// Entry 18: coarse levels 2, 3, 4 with other bits set that edits must keep.
constexpr UartLedEntry kEntry18{1, 0x32, 0xA3, 0xF4};
// Entry 23: a fixed colour.
constexpr UartLedEntry kEntry23{1, 0x12, 0x34, 0x56};

class UartLedEditor : public oaktest::AppFixture {
  protected:
    DeviceLibraryBinding& Lib() { return DeviceLibraryBinding::Instance(); }
    void OpenDevice() {
        Lib().Call(EntryPoint::InitMCUDevice_Egret, int32_t{kLumenorVid}, int32_t{kEgretPid}, int32_t{0});
    }
    void SetEntry(int e, const UartLedEntry& v) {
        Lib().Call(EntryPoint::Devcie_Set_Uart_Led_Data_Egret, int32_t{e}, int32_t{v.byte1}, int32_t{v.byte2},
                   int32_t{v.byte3});
    }
    // The mouse with its strip, its modes' effects and a few entries set.
    void SeedStrip(int variant = 1) {
        SimControl(DeviceModel::Egret).SetVariant(variant);
        if (variant == 0) return;
        OpenDevice();
        Lib().Call(EntryPoint::Devcie_Set_Led_Mode_Data_Egret, kBlock.data());
        Lib().Call(EntryPoint::Device_Set_LED_Breath_Mode_Egret, int32_t{kActiveMode - 1});
        SetEntry(4, kEntry4);
        SetEntry(18, kEntry18);
        SetEntry(23, kEntry23);
    }
    void OpenEditor(int variant = 1) {
        SeedStrip(variant);
        ShowDevice(3);
        Ui().Click("led_Settings_Egret", kMain);
    }
    mouse::CDialogMouseEgretSetting& Page() {
        return *dynamic_cast<mouse::CDialogMouseEgretSetting*>(Frame().Page(DeviceModel::Egret));
    }
    mouse::UartLedEdit_Egret& Editor() {
        return Ui().Find<mouse::UartLedEdit_Egret>("uart_led_editor_Egret", kMain);
    }
    UartLedEntry DeviceEntry(int e) {
        UartLedEntry v;
        OpenDevice();
        Lib().Call(EntryPoint::Devcie_Get_Uart_Led_Data_Egret, int32_t{e}, &v.byte1, &v.byte2, &v.byte3);
        return v;
    }
    std::array<uint8_t, 8> DeviceBlock() {
        std::array<uint8_t, 8> block{};
        OpenDevice();
        Lib().Call(EntryPoint::Devcie_Get_Led_Mode_Data_Egret, block.data());
        return block;
    }
    static size_t Writes(const oaktest::NotificationRecorder& r, int operation) {
        size_t n = 0;
        for (const auto& e : r.Entries())
            if (e.type == "WRITE_EgretDATA" && e.lParam == operation) ++n;
        return n;
    }
    // Gives the active mode `effect` through its combo, as a user does.
    void ChooseEffect(int effect, int mode = kActiveMode) {
        Ui().SelectComboItem("result_led_switch_Egret_" + std::to_string(mode), effect, kMain);
    }
    void ClearBox(const std::string& box) {
        Ui().Click(box, kMain);
        Ui().PressKey(ui::kVkA, ui::kModCtrl);
    }
    bool Visible(const std::string& name) { return Ui().Find(name, kMain).IsShown(); }
};

TEST_F(UartLedEditor, PlainVariantKeepsThePlainLightingPage) {
    OpenEditor(0);
    EXPECT_TRUE(Visible("light_page_Egret"));
    EXPECT_FALSE(Visible("uart_led_page_Egret"));
    EXPECT_TRUE(Page().Egret().uartLeds.empty());
}

TEST_F(UartLedEditor, ShowsTheModesEffectsAndTheActiveEffect) {
    OpenEditor();
    ASSERT_TRUE(Visible("uart_led_page_Egret"));
    EXPECT_EQ(Page().Egret().uartLeds.size(), 32u);
    auto& first = Ui().Find<ui::Combo>("result_led_switch_Egret_1", kMain);
    for (int m = 1; m <= 8; ++m) {
        const std::string n = std::to_string(m);
        auto& combo = Ui().Find<ui::Combo>("result_led_switch_Egret_" + n, kMain);
        EXPECT_EQ(combo.GetCount(), first.GetCount()) << m;
        EXPECT_EQ(combo.GetCurSel(), kBlock[m - 1]) << m;
        EXPECT_EQ(Ui().IsSelected("result_uart_led_mode_Egret_" + n, kMain), m == kActiveMode) << m;
    }
    EXPECT_EQ(Editor().CurrentEffect(), 4);
    EXPECT_EQ(Ui().Text("current_uart_led_mode_Egret", kMain), first.GetItemAt(4)->GetText());
    // Entry 4's parameters.
    EXPECT_TRUE(Ui().IsSelected("result_uart_LED_direction_right2left_Egret", kMain));
    EXPECT_EQ(Ui().Value("result_uart_mode_speed_Egret", kMain), 5);
    EXPECT_EQ(Ui().Text(kLoopDirection, kMain), "10");
    EXPECT_EQ(Ui().Text(kLoopColour, kMain), "3");
    EXPECT_FALSE(Ui().IsSelected(kEnable, kMain));
    EXPECT_TRUE(Ui().IsSelected("result_uart_LED_transition_blue_Egret", kMain));
    EXPECT_FALSE(Ui().IsEnabled("uart_LED_transition_color_Egret", kMain));
    Ui().Snapshot(::testing::TempDir() + "uart_led_editor.png", kMain);
}

TEST_F(UartLedEditor, EachEffectShowsItsGroups) {
    OpenEditor();
    struct Case {
        int effect;
        bool direction, speed, loopDirection, loopColour, transition, swatch;
    };
    // Effects 27 to 30 leave the groups as the previous effect left them: each row after one
    // checks that against the row before it.
    const Case cases[] = {
        {0, true, true, true, false, false, false},     {4, true, true, true, true, true, false},
        {27, true, true, true, true, true, false},      {12, false, true, true, false, true, false},
        {13, false, true, true, true, true, false},     {15, false, true, false, false, false, false},
        {18, false, true, false, false, false, true},   {30, false, true, false, false, false, true},
        {21, false, false, false, false, false, false}, {24, false, false, false, false, false, true},
        {31, false, false, false, false, false, false},
    };
    for (const auto& c : cases) {
        ChooseEffect(c.effect);
        SCOPED_TRACE(c.effect);
        EXPECT_EQ(Visible("uart_LED_direction_Egret"), c.direction);
        EXPECT_EQ(Visible("uart_LED_speed_Egret"), c.speed);
        EXPECT_EQ(Visible(kLoopDirection), c.loopDirection);
        EXPECT_EQ(Visible("uart_LED_loop_count_corlor_Egret"), c.loopColour);
        EXPECT_EQ(Visible("uart_LED_transition_bg_color_Egret"), c.transition);
        EXPECT_EQ(Visible("uart_LED_RGB_Egret"), c.swatch);
        EXPECT_FALSE(Visible("uart_LED_bg_color_Egret"));
        const bool none =
            !(c.direction || c.speed || c.loopDirection || c.loopColour || c.transition || c.swatch);
        EXPECT_EQ(Visible("uart_LED_no_settings_Egret"), none);
    }
    ChooseEffect(21);
    Ui().Snapshot(::testing::TempDir() + "uart_led_no_settings.png", kMain);
    // The swatch shows the coarse colour of 17-20 and the fixed colour of 22-26, opaque.
    ChooseEffect(18);
    EXPECT_EQ(Ui().Find("result_uart_RGB_Egret", kMain).GetBkColor(), 0xFF80C0FFu);
    Ui().Snapshot(::testing::TempDir() + "uart_led_coarse.png", kMain);
    ChooseEffect(23);
    EXPECT_EQ(Ui().Find("result_uart_RGB_Egret", kMain).GetBkColor(), 0xFF123456u);
}

TEST_F(UartLedEditor, LoopCountsAreCheckedWhileTypingAndStoredOnLeaving) {
    OpenEditor();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    ClearBox(kLoopDirection);
    Ui().TypeText("40");
    EXPECT_EQ(Ui().Text(kLoopDirection, kMain), "32");
    EXPECT_EQ(Page().Egret().uartLeds[4].byte3, kEntry4.byte3);  // nothing stored while typing
    Ui().Tab();
    WaitForDeviceTasks();
    EXPECT_EQ(Writes(recorder, mouse::kOpUartLed), 1u);
    EXPECT_EQ(DeviceEntry(4).byte3, (31 << 3) | 2);  // the colour count kept

    // Entering and leaving with the stored count writes nothing.
    recorder.Clear();
    Ui().Click(kLoopDirection, kMain);
    Ui().Tab();
    EXPECT_EQ(Writes(recorder, mouse::kOpUartLed), 0u);

    // A 0 becomes 1, above 8 becomes 8; leaving stores it in bits 0-2.
    const std::pair<const char*, const char*> typed[] = {{"0", "1"}, {"9", "8"}, {"12", "8"}, {"5", "5"}};
    for (const auto& [text, shown] : typed) {
        ClearBox(kLoopColour);
        Ui().TypeText(text);
        EXPECT_EQ(Ui().Text(kLoopColour, kMain), shown) << text;
    }
    Ui().Tab();
    WaitForDeviceTasks();
    EXPECT_EQ(DeviceEntry(4).byte3, (31 << 3) | 4);
}

TEST_F(UartLedEditor, ParameterEditsChangeOnlyTheirBits) {
    OpenEditor();
    Ui().Click("result_uart_LED_direction_loop_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(DeviceEntry(4).byte1, 0x24);
    Ui().DragSlider("result_uart_mode_speed_Egret", 1, kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(DeviceEntry(4).byte1, 0x64);

    // The colour groups follow the enable box; colours go to their bits.
    Ui().Click(kEnable, kMain);
    WaitForDeviceTasks();
    EXPECT_TRUE(Ui().IsEnabled("uart_LED_transition_color_Egret", kMain));
    EXPECT_TRUE(Ui().IsEnabled("uart_LED_bg_color_Egret", kMain));
    EXPECT_EQ(DeviceEntry(4).byte2, 0x3A);
    Ui().Click("result_uart_LED_transition_orange_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(DeviceEntry(4).byte2, 0x3F);
    Ui().Snapshot(::testing::TempDir() + "uart_led_transition.png", kMain);
    Ui().Click(kEnable, kMain);
    WaitForDeviceTasks();
    EXPECT_FALSE(Ui().IsEnabled("uart_LED_transition_color_Egret", kMain));
    EXPECT_FALSE(Ui().IsEnabled("uart_LED_bg_color_Egret", kMain));
    EXPECT_EQ(DeviceEntry(4).byte2, 0x37);
}

TEST_F(UartLedEditor, ChoosingAModeWritesTheLighting) {
    OpenEditor();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    Ui().Click("result_uart_led_mode_Egret_5", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(Writes(recorder, mouse::kOpLighting), 1u);
    EXPECT_EQ(Writes(recorder, mouse::kOpUartLed), 0u);
    int32_t mode = -1;
    OpenDevice();
    Lib().Call(EntryPoint::Device_Get_LED_Breath_Mode_Egret, &mode);
    EXPECT_EQ(mode, 4);
    EXPECT_EQ(Editor().CurrentEffect(), kBlock[4]);
    EXPECT_TRUE(Visible("uart_LED_RGB_Egret"));
}

TEST_F(UartLedEditor, AnEffectForAnotherModeChangesOnlyTheBlock) {
    OpenEditor();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    ChooseEffect(21, 6);
    Ui().RunUntilIdle();
    EXPECT_EQ(Page().Egret().ledEffectBlock[5], 21);
    EXPECT_EQ(DeviceBlock()[5], 21);
    EXPECT_EQ(Editor().CurrentEffect(), 4);
    EXPECT_TRUE(Visible("uart_LED_direction_Egret"));
    EXPECT_TRUE(Visible("uart_LED_transition_bg_color_Egret"));
    EXPECT_EQ(recorder.Count("WRITE_EgretDATA"), 0u);

    // For the active mode the effect becomes current as well; still no page operation.
    ChooseEffect(14);
    EXPECT_EQ(DeviceBlock()[kActiveMode - 1], 14);
    EXPECT_EQ(Editor().CurrentEffect(), 14);
    EXPECT_FALSE(Visible("uart_LED_direction_Egret"));
    EXPECT_EQ(recorder.Count("WRITE_EgretDATA"), 0u);
}

TEST_F(UartLedEditor, TheStageColourFollowsIntoEffects16And21) {
    OpenEditor();
    int active = Page().Egret().currentStage;
    const UartLedEntry before16 = Page().Egret().uartLeds[16], before21 = Page().Egret().uartLeds[21];
    // The red level goes to bits 0-2 of byte 1 (the others kept), green and blue replace bytes 2, 3.
    auto followed = [](UartLedEntry e) { return UartLedEntry{1, uint8_t((e.byte1 & ~7) | 1), 4, 3}; };
    mouse::ColorPicker::SetChooser([](ui::WindowImplBase&, uint32_t& argb) {
        argb = 0xFF20FF80;  // levels 1, 4, 3
        return true;
    });
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    Ui().Click("profile1_Egret", kMain);
    WaitForDeviceTasks();
    Ui().Click("result_DPI" + std::to_string(active) + "_color_Egret", kMain);
    WaitForDeviceTasks();
    const auto& leds = Page().Egret().uartLeds;
    EXPECT_EQ(leds[16], followed(before16));
    EXPECT_EQ(leds[21], followed(before21));
    EXPECT_EQ(Writes(recorder, mouse::kOpUartLed), 0u);  // effect 4 is current

    Ui().Click("led_Settings_Egret", kMain);
    ChooseEffect(21);
    recorder.Clear();
    Ui().Click("profile1_Egret", kMain);
    WaitForDeviceTasks();
    Ui().Click("result_DPI" + std::to_string(active) + "_color_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(Writes(recorder, mouse::kOpUartLed), 1u);
    EXPECT_EQ(DeviceEntry(21), followed(before21));
}

TEST_F(UartLedEditor, TheSwatchTakesCoarseOrFixedColoursThroughThePicker) {
    OpenEditor();
    uint32_t offered = 0;
    uint32_t chosen = 0xFF80FF10;  // levels 3, 4, 1
    mouse::ColorPicker::SetChooser([&](ui::WindowImplBase&, uint32_t& argb) {
        offered = argb;
        argb = chosen;
        return true;
    });
    ChooseEffect(18);
    Ui().Click("result_uart_RGB_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(offered, 0xFF80C0FFu);
    EXPECT_EQ(Ui().Find("result_uart_RGB_Egret", kMain).GetBkColor(), chosen);
    EXPECT_EQ(DeviceEntry(18), (UartLedEntry{1, 0x33, 0xA4, 0xF1}));

    ChooseEffect(23);
    chosen = 0xFFABCDEF;
    Ui().Click("result_uart_RGB_Egret", kMain);
    WaitForDeviceTasks();
    EXPECT_EQ(offered, 0xFF123456u);
    EXPECT_EQ(DeviceEntry(23), (UartLedEntry{1, 0xAB, 0xCD, 0xEF}));

    mouse::ColorPicker::SetChooser([](ui::WindowImplBase&, uint32_t& argb) {
        argb = 0xFF000000;
        return false;  // cancelled
    });
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    Ui().Click("result_uart_RGB_Egret", kMain);
    Ui().RunUntilIdle();
    EXPECT_EQ(recorder.Count("WRITE_EgretDATA"), 0u);
    EXPECT_EQ(Page().Egret().uartLeds[23], (UartLedEntry{1, 0xAB, 0xCD, 0xEF}));
    EXPECT_EQ(Ui().Find("result_uart_RGB_Egret", kMain).GetBkColor(), 0xFFABCDEFu);

    // Without a test hook the swatch opens the real picker.
    mouse::ColorPicker::SetChooser(nullptr);
    Ui().PressInNextModal("ColorPicker", "cancelbtn");
    Ui().Click("result_uart_RGB_Egret", kMain);
    Ui().RunUntilIdle();
    EXPECT_EQ(recorder.Count("WRITE_EgretDATA"), 0u);
}

TEST_F(UartLedEditor, AReconnectionReadsExactly32Entries) {
    OpenEditor();
    SimControl egret(DeviceModel::Egret);
    for (bool attached : {false, true}) {
        egret.SetAttached(attached);
        Frame().PostMessage(ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0);
        Ui().RunUntil([&] { return Frame().IsDeviceTaskRunning(); });
        WaitForDeviceTasks();
    }
    ASSERT_TRUE(Page().IsConnected());
    EXPECT_EQ(Page().Egret().uartLeds.size(), 32u);
    EXPECT_EQ(Page().Egret().uartLeds[4], kEntry4);
}

TEST_F(UartLedEditor, TextsFitInEveryLanguage) {
    OpenEditor();
    for (int effect : {4, 18, 21}) {
        ChooseEffect(effect);
        for (int i = 1; i <= 15; ++i) {
            std::string option = "language_" + std::to_string(i);
            Ui().Click(option, kMain);
            for (const auto& problem : oaktest::TextFitProblems(Frame()))
                ADD_FAILURE() << effect << " " << Ui().Text(option, kMain) << ": " << problem;
        }
    }
}

TEST(UartLedCoarseColour, LevelsAndTheirShownValues) {
    const std::pair<int, int> levels[] = {{0, 0},   {1, 1},   {63, 1},  {64, 2}, {127, 2},
                                          {128, 3}, {191, 3}, {192, 4}, {255, 4}};
    for (const auto& [value, level] : levels)
        EXPECT_EQ(mouse::UartLedEdit_Egret::CoarseLevel(value), level) << value;
    const std::pair<int, int> shown[] = {{0, 0}, {1, 64}, {2, 128}, {3, 192}, {4, 255}, {5, 255}, {7, 255}};
    for (const auto& [level, value] : shown)
        EXPECT_EQ(mouse::UartLedEdit_Egret::CoarseValue(level), value) << level;
}

}  // namespace
