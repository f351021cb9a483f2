// Controls as a user meets them: what each action notifies, in which order, and what the
// no-notification setters leave alone.
#include <cairo.h>
#include <gtest/gtest.h>

#include "TestWindow.h"
#include "UiDriver.h"
#include "ui/controls/Button.h"
#include "ui/controls/Combo.h"
#include "ui/controls/Edit.h"
#include "ui/controls/List.h"
#include "ui/controls/Option.h"
#include "ui/controls/Slider.h"
#include "ui/core/VirtualKeys.h"
#include "ui/render/CairoCanvas.h"

using oaktest::NotificationRecorder;
using oaktest::TestWindow;
using oaktest::UiDriver;
using Seen = std::vector<std::string>;

namespace {

const char* kSkin = R"(
<Window size="400,300">
  <VerticalLayout>
    <HorizontalLayout height="30">
      <Option name="a" group="g" selected="true" width="60"/>
      <Option name="b" group="g" width="60"/>
      <CheckBox name="check" width="60"/>
      <Button name="btn" width="60" hovernotify="true"/>
      <Button name="hidden" width="60" visible="false"/>
      <Button name="off" width="60" enabled="false"/>
    </HorizontalLayout>
    <Slider name="slider" height="20" min="0" max="10" value="2"/>
    <Edit name="edit" height="30"/>
    <Edit name="digits" height="30" numberonly="true" maxchar="3"/>
    <Combo name="combo" height="30">
      <ListLabelElement text="zero"/>
      <ListLabelElement text="one" userdata="1"/>
      <ListLabelElement text="two"/>
    </Combo>
    <Combo name="copy" height="30"/>
    <List name="list" height="100">
      <ListLabelElement name="row0" text="r0"/>
      <ListLabelElement name="row1" text="r1"/>
    </List>
    <Button name="write" height="40" bkcolor="#FF202020" pendingbkcolor="#FFC08000"/>
  </VerticalLayout>
</Window>)";

class ControlsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.Open();
        ui.RunUntilIdle();
        ASSERT_TRUE(window.report.Empty()) << window.report.ToString();
        recorder = std::make_unique<NotificationRecorder>(window.GetManager());
    }
    UiDriver ui;
    TestWindow window{kSkin};
    std::unique_ptr<NotificationRecorder> recorder;
};

TEST_F(ControlsTest, OptionClickNotifiesBeforeStateChangesAndGroupStaysExclusive) {
    bool selectedAtClick = true;
    auto h = window.GetManager().AddNotifier([&](ui::Notification& n) {
        if (n.type == "click" && n.sender->NameIs("b")) selectedAtClick = ui.IsSelected("b");
    });
    ui.Click("b");
    EXPECT_FALSE(selectedAtClick);
    EXPECT_EQ(recorder->Seen(), (Seen{"click:b", "selectchanged:b"}));
    EXPECT_TRUE(ui.IsSelected("b"));
    EXPECT_FALSE(ui.IsSelected("a"));

    recorder->Clear();
    ui.Click("b");  // already selected: clicked, but no change
    EXPECT_EQ(recorder->Seen(), (Seen{"click:b"}));
}

TEST_F(ControlsTest, CheckBoxTogglesAndSettersHonourTheFlag) {
    ui.Click("check");
    ui.Click("check");
    EXPECT_EQ(recorder->Seen(),
              (Seen{"click:check", "selectchanged:check", "click:check", "selectchanged:check"}));
    EXPECT_FALSE(ui.IsSelected("check"));

    recorder->Clear();
    auto& check = ui.Find<ui::CheckBox>("check");
    check.SetCheck(true, ui::Notify::No);
    EXPECT_TRUE(recorder->Seen().empty());
    check.SetCheck(false, ui::Notify::Yes);
    EXPECT_EQ(recorder->Seen(), (Seen{"selectchanged:check"}));
}

TEST_F(ControlsTest, HiddenControlsCannotBeClickedAndDisabledOnesDoNothing) {
    EXPECT_THROW(ui.Click("hidden"), std::runtime_error);
    ui.Click("off");
    EXPECT_TRUE(recorder->Seen().empty());
}

TEST_F(ControlsTest, ButtonReportsPointerEnterAndLeave) {
    ui.Hover("btn");
    ui.Hover("check");
    EXPECT_EQ(recorder->Seen(), (Seen{"mouseenter:btn", "Button_Mouse_Focus:btn", "mouseleave:btn",
                                      "Button_Mouse_Lose_Focus:btn"}));
}

TEST_F(ControlsTest, SliderDragReportsEveryValueThenTheRelease) {
    ui.DragSlider("slider", 5);
    EXPECT_EQ(recorder->Seen(), (Seen{"valuechanging:slider", "valuechanging:slider", "valuechanging:slider",
                                      "valuechanged:slider"}));
    std::vector<intptr_t> values;
    for (auto& e : recorder->Entries()) values.push_back(e.wParam);
    EXPECT_EQ(values, (std::vector<intptr_t>{3, 4, 5, 5}));
    EXPECT_EQ(ui.Value("slider"), 5);
}

TEST_F(ControlsTest, SliderKeysMoveByStepAndReleaseCommits) {
    window.GetManager().SetFocus(&ui.Find("slider"));
    recorder->Clear();
    ui.KeyDown(ui::kVkRight);
    ui.KeyDown(ui::kVkRight);
    EXPECT_EQ(recorder->Count("valuechanging"), 2u);
    EXPECT_EQ(recorder->Count("valuechanged"), 0u);
    ui.KeyUp(ui::kVkRight);
    EXPECT_EQ(recorder->Count("valuechanged"), 1u);
    EXPECT_EQ(ui.Value("slider"), 4);

    recorder->Clear();
    auto& slider = ui.Find<ui::Slider>("slider");
    slider.SetValue(99, ui::Notify::No);
    EXPECT_EQ(slider.GetValue(), 10);
    EXPECT_TRUE(recorder->Seen().empty());
}

TEST_F(ControlsTest, EditTypingFocusAndReplacement) {
    ui.Type("edit", "ab");
    EXPECT_EQ(recorder->Seen(), (Seen{"setfocus:edit", "textchanged:edit", "textchanged:edit"}));
    EXPECT_EQ(ui.Text("edit"), "ab");

    recorder->Clear();
    ui.PressKey(ui::kVkBack);
    EXPECT_EQ(ui.Text("edit"), "a");
    auto& edit = ui.Find<ui::Edit>("edit");
    edit.SetText("a", ui::Notify::Yes);  // same text, flag set: raised again
    edit.SetText("b", ui::Notify::No);
    EXPECT_EQ(recorder->Seen(), (Seen{"textchanged:edit", "textchanged:edit"}));

    recorder->Clear();
    ui.Tab();
    EXPECT_EQ(recorder->Seen().front(), "killfocus:edit");
}

TEST_F(ControlsTest, EditFiltersDigitsAndLimitsLength) {
    ui.Type("digits", "1a2b34");
    EXPECT_EQ(ui.Text("digits"), "123");
}

TEST_F(ControlsTest, ComboChoosesFromItsDropDownAndByKeys) {
    ui.SelectComboItem("combo", 1);
    EXPECT_EQ(ui.CurSel("combo"), 1);
    EXPECT_EQ(ui.Text("combo"), "one");
    ASSERT_EQ(recorder->Entries().size(), 1u);
    EXPECT_EQ(recorder->Entries()[0].type, "itemselect");
    EXPECT_EQ(recorder->Entries()[0].wParam, 1);
    EXPECT_FALSE(ui.Find<ui::Combo>("combo").IsOpen());

    recorder->Clear();
    window.GetManager().SetFocus(&ui.Find("combo"));
    ui.PressKey(ui::kVkDown);
    ui.PressKey(ui::kVkDown);  // past the last: stays
    EXPECT_EQ(ui.CurSel("combo"), 2);
    EXPECT_EQ(recorder->Count("itemselect"), 1u);
}

TEST_F(ControlsTest, ComboDropDownClosesOnEscapeAndCopiesItems) {
    auto& combo = ui.Find<ui::Combo>("combo");
    ui.Click("combo");
    ASSERT_TRUE(combo.IsOpen());
    ui.PressKey(ui::kVkEscape);  // to the drop-down, which has the focus
    EXPECT_FALSE(combo.IsOpen());
    EXPECT_EQ(recorder->Count("itemselect"), 0u);

    auto& copy = ui.Find<ui::Combo>("copy");
    copy.CopyItemsFrom(combo);
    ASSERT_EQ(copy.GetCount(), 3);
    EXPECT_EQ(copy.GetItemAt(1)->GetText(), "one");
    EXPECT_EQ(copy.GetItemAt(1)->GetUserData(), "1");
}

TEST_F(ControlsTest, ListClickSelectsAndRightClickAsksForAMenu) {
    ui.Click("row1");
    EXPECT_EQ(recorder->Seen(), (Seen{"itemclick:row1", "itemselect:list"}));
    EXPECT_EQ(ui.CurSel("list"), 1);

    recorder->Clear();
    ui.RightClick("row0");
    ASSERT_EQ(recorder->Count("menu"), 1u);
    const auto& menu = recorder->Entries().back();
    EXPECT_EQ(menu.type, "menu");
    EXPECT_EQ(menu.pointer, ui.Find("row0").GetPos().Center());
    EXPECT_EQ(ui.CurSel("list"), 0);
}

TEST_F(ControlsTest, SpaceAndEnterPressTheFocusedButton) {
    window.GetManager().SetFocus(&ui.Find("btn"));
    ui.PressKey(ui::kVkSpace);
    ui.PressKey(ui::kVkReturn);
    EXPECT_EQ(recorder->Count("click"), 2u);
}

// The colour a control paints at its centre, drawn alone into an image.
uint32_t CentrePixel(ui::Control& control) {
    ui::Rect r = control.GetPos();
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, r.right, r.bottom);
    cairo_t* cr = cairo_create(surface);
    {
        ui::CairoCanvas canvas(cr);
        control.Paint(canvas, r);
    }
    cairo_surface_flush(surface);
    auto* row =
        cairo_image_surface_get_data(surface) + cairo_image_surface_get_stride(surface) * r.Center().y;
    uint32_t pixel = reinterpret_cast<uint32_t*>(row)[r.Center().x];
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return pixel;
}

TEST_F(ControlsTest, AWriteButtonShowsItsPendingLookUntilClearedButNotWhenDisabled) {
    auto& write = static_cast<ui::Button&>(ui.Find("write"));
    EXPECT_EQ(CentrePixel(write), 0xFF202020u);
    write.SetPending(true);
    EXPECT_TRUE(write.IsPending());
    EXPECT_EQ(CentrePixel(write), 0xFFC08000u);
    write.SetEnabled(false);
    EXPECT_EQ(CentrePixel(write), 0xFF202020u);
    write.SetEnabled(true);
    write.SetPending(false);
    EXPECT_EQ(CentrePixel(write), 0xFF202020u);
}

}  // namespace
