// The colour picker over the main window: the field and marker, the boxes, the lightness slider,
// dragging past the field's edge, and what OK, Cancel, the close button and Escape hand back.
#include <gtest/gtest.h>

#include <cstdio>

#include "AppFixture.h"
#include "TextFit.h"
#include "mouse/ColorPicker.h"
#include "ui/backend/headless/HeadlessBackend.h"
#include "ui/controls/Slider.h"
#include "ui/core/Container.h"
#include "ui/core/VirtualKeys.h"
#include "ui/text/TextTable.h"

namespace {

using mouse::ColorPicker;
using ColorPickerTest = oaktest::AppFixture;

constexpr const char* kCls = "ColorPicker";

std::string Hex(uint32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", c);
    return buf;
}

// Where the pieces are now, in window coordinates.
struct Layout {
    ui::Rect field;
    ui::Point marker;  // the marker's centre
    bool markerShown;
};

Layout Measure(oaktest::UiDriver& ui, ui::WindowImplBase& w) {
    w.GetManager().LayoutIfNeeded();
    auto& marker = ui.Find("color_location_control", kCls);
    return {ui.Find("color_rainbow_control", kCls).GetPos(), marker.GetPos().Center(), marker.IsVisible()};
}

std::string Boxes(oaktest::UiDriver& ui) {
    return ui.Text("r_edit", kCls) + "," + ui.Text("g_edit", kCls) + "," + ui.Text("b_edit", kCls);
}

ui::Color Swatch(oaktest::UiDriver& ui) {
    return ui.Find("current_color_control", kCls).GetBkColor();
}

void Retype(oaktest::UiDriver& ui, const std::string& box, const std::string& text) {
    ui.Click(box, kCls);
    ui.PressKey(ui::kVkA, ui::kModCtrl);
    ui.TypeText(text);
}

TEST(ColorPickerHsl, ConvertsBothWays) {
    struct Case {
        uint32_t rgb;
        double hue, saturation, lightness;
    };
    for (const Case c : {Case{0xFF0000, 0, 1, 0.5}, Case{0x00FF00, 120, 1, 0.5}, Case{0x0000FF, 240, 1, 0.5},
                         Case{0x808080, 0, 0, 128 / 255.0}, Case{0x000000, 0, 0, 0}, Case{0xFFFFFF, 0, 0, 1},
                         Case{0xFF8080, 0, 1, (255 + 128) / 510.0}, Case{0x400040, 300, 1, 64 / 510.0}}) {
        auto hsl = ColorPicker::ToHsl(c.rgb);
        EXPECT_NEAR(hsl.hue, c.hue, 1e-9) << Hex(c.rgb);
        EXPECT_NEAR(hsl.saturation, c.saturation, 1e-9) << Hex(c.rgb);
        EXPECT_NEAR(hsl.lightness, c.lightness, 1e-9) << Hex(c.rgb);
    }
    // Every colour comes back exactly: no channel loses a step to rounding.
    for (uint32_t r = 0; r < 256; r += 15)
        for (uint32_t g = 0; g < 256; g += 15)
            for (uint32_t b = 0; b < 256; b += 15) {
                uint32_t rgb = r << 16 | g << 8 | b;
                ASSERT_EQ(ColorPicker::ToRgb(ColorPicker::ToHsl(rgb)), 0xFF000000u | rgb) << Hex(rgb);
            }
    EXPECT_EQ(ColorPicker::ToRgb({360, 1, 0.5}), 0xFFFF0000u);  // the field's right edge is red again
}

TEST_F(ColorPickerTest, GreyStartsAtTheBottomLeftCornerAndEveryLanguageFits) {
    StartApp();
    Layout at{};
    std::string boxes;
    int lightness = -1;
    ui::Color swatch = 0;
    ui::Rect box, owner = Frame().GetWindowRect();
    Ui().AnswerModal(kCls, [&](ui::WindowImplBase& w) {
        at = Measure(Ui(), w);
        boxes = Boxes(Ui());
        lightness = Ui().Value("color_lightness_slider", kCls);
        swatch = Swatch(Ui());
        box = w.GetWindowRect();
        EXPECT_EQ(w.GetTitle(), ui::TextTable::Instance().Resolve("%{321}"));
        EXPECT_NE(w.GetTitle(), "%{321}");
        Ui().Snapshot(::testing::TempDir() + "color_picker.png", kCls);
        Ui().Click("cancelbtn", kCls);
    });
    uint32_t colour = 0x7F808080;
    EXPECT_FALSE(ColorPicker(&Frame()).Choose(colour));
    EXPECT_EQ(colour, 0x7F808080u);
    EXPECT_EQ(at.marker, (ui::Point{at.field.left, at.field.bottom}));
    EXPECT_TRUE(at.markerShown);
    EXPECT_EQ(boxes, "128,128,128");
    EXPECT_EQ(lightness, 128);
    EXPECT_EQ(swatch, 0xFF808080u);  // shown opaque whatever the caller's alpha
    EXPECT_EQ(box.Center().x, owner.Center().x);

    int options = Ui().Find<ui::Container>("language_option").GetCount();
    for (int i = 1; i <= options; ++i) {
        std::string option = "language_" + std::to_string(i);
        Ui().Click(option, "Oakridge");
        Ui().AnswerModal(kCls, [&](ui::WindowImplBase& w) {
            for (const auto& problem : oaktest::TextFitProblems(w))
                ADD_FAILURE() << Ui().Text(option, "Oakridge") << ": " << problem;
            std::string file = Ui().Find(option, "Oakridge").GetUserData();
            Ui().Snapshot(::testing::TempDir() + "color_picker_" + file + ".png", kCls);
            Ui().Click("closebtn", kCls);
        });
        EXPECT_FALSE(ColorPicker(&Frame()).Choose(colour));
    }
}

TEST_F(ColorPickerTest, OnlyOkHandsBackTheColourAndItKeepsTheAlpha) {
    StartApp();
    struct Case {
        const char* answer;  // button, or "escape"
        bool confirmed;
        uint32_t expected;
    };
    for (const Case c : {Case{"okbtn", true, 0x40FF4020}, Case{"cancelbtn", false, 0x40102030},
                         Case{"closebtn", false, 0x40102030}, Case{"escape", false, 0x40102030}}) {
        std::string typed;
        Ui().AnswerModal(kCls, [&](ui::WindowImplBase&) {
            Retype(Ui(), "r_edit", "300");
            typed = Ui().Text("r_edit", kCls);
            Retype(Ui(), "g_edit", "64");
            Retype(Ui(), "b_edit", "32");
            if (std::string(c.answer) == "escape")
                Ui().PressKey(ui::kVkEscape);
            else
                Ui().Click(c.answer, kCls);
        });
        uint32_t colour = 0x40102030;
        EXPECT_EQ(ColorPicker(&Frame()).Choose(colour), c.confirmed) << c.answer;
        EXPECT_EQ(Hex(colour), Hex(c.expected)) << c.answer;
        EXPECT_EQ(typed, "255") << c.answer;
    }
    EXPECT_EQ(Ui().Backend().PendingModalAnswers(), 0u);
}

TEST_F(ColorPickerTest, BoxesAndSliderMoveMarkerBarAndSwatch) {
    StartApp();
    Ui().AnswerModal(kCls, [&](ui::WindowImplBase& w) {
        // Pure blue: hue 240 at two thirds of the width, full saturation at the top.
        Retype(Ui(), "r_edit", "0");
        Retype(Ui(), "g_edit", "0");
        Retype(Ui(), "b_edit", "255");
        Layout at = Measure(Ui(), w);
        EXPECT_EQ(at.marker, (ui::Point{at.field.left + at.field.Width() * 2 / 3, at.field.top}));
        EXPECT_EQ(Ui().Value("color_lightness_slider", kCls), 128);
        EXPECT_EQ(Swatch(Ui()), 0xFF0000FFu);
        EXPECT_EQ(Ui().Find("color_lightness_control", kCls).GetBkColor2(), 0xFF0000FFu);
        Ui().Snapshot(::testing::TempDir() + "color_picker_blue.png", kCls);

        // Lightness changes the colour, not the point or the bar's middle.
        Ui().DragSlider("color_lightness_slider", 255, kCls);
        EXPECT_EQ(Boxes(Ui()), "255,255,255");
        Ui().DragSlider("color_lightness_slider", 64, kCls);
        EXPECT_EQ(Boxes(Ui()), "0,0,128");
        EXPECT_EQ(Swatch(Ui()), 0xFF000080u);
        EXPECT_EQ(Measure(Ui(), w).marker, at.marker);
        EXPECT_EQ(Ui().Find("color_lightness_control", kCls).GetBkColor2(), 0xFF0000FFu);
        Ui().Click("okbtn", kCls);
    });
    uint32_t colour = 0xFF808080;
    EXPECT_TRUE(ColorPicker(&Frame()).Choose(colour));
    EXPECT_EQ(Hex(colour), "FF000080");
}

TEST_F(ColorPickerTest, DraggingPastTheFieldPinsTheColourAndPullsThePointerBack) {
    StartApp();
    Ui().AnswerModal(kCls, [&](ui::WindowImplBase& w) {
        auto* native = dynamic_cast<ui::HeadlessWindow*>(w.GetNative());
        ASSERT_NE(native, nullptr);
        ui::Rect f = Measure(Ui(), w).field;

        // Inside the field nothing is warped; the marker hides while the button is held.
        Ui().MouseDown({f.left + f.Width() / 3, f.top + f.Height() / 2}, kCls);  // hue 120, saturation 0.5
        EXPECT_FALSE(Measure(Ui(), w).markerShown);
        EXPECT_FALSE(native->WarpedTo().has_value());
        EXPECT_EQ(Boxes(Ui()), "63,191,63");
        EXPECT_EQ(Ui().Find("color_lightness_control", kCls).GetBkColor2(), 0xFF3FBF3Fu);

        struct Case {
            ui::Point to, pinned;
            const char* boxes;
        };
        int midX = f.left + f.Width() / 2, midY = f.top + f.Height() / 2;
        for (const Case c : {Case{{f.left - 40, f.top - 30}, {f.left, f.top}, "255,0,0"},
                             Case{{f.right + 500, midY}, {f.right, midY}, "191,63,63"},
                             Case{{midX, f.bottom + 9}, {midX, f.bottom}, "127,127,127"}}) {
            Ui().MouseMove(c.to, kCls);
            ASSERT_TRUE(native->WarpedTo().has_value());
            EXPECT_EQ(*native->WarpedTo(), c.pinned) << c.boxes;
            EXPECT_EQ(Boxes(Ui()), c.boxes);
        }
        // Released outside: the marker comes back on the edge where the colour was pinned.
        Ui().MouseUp({midX, f.bottom + 9}, kCls);
        Layout at = Measure(Ui(), w);
        EXPECT_TRUE(at.markerShown);
        EXPECT_EQ(at.marker, (ui::Point{midX, f.bottom}));
        Ui().Snapshot(::testing::TempDir() + "color_picker_dragged.png", kCls);
        Ui().Click("okbtn", kCls);
    });
    uint32_t colour = 0x00FF0000;  // red at lightness 0.5, alpha 0
    EXPECT_TRUE(ColorPicker(&Frame()).Choose(colour));
    EXPECT_EQ(Hex(colour), "007F7F7F");
}

}  // namespace
