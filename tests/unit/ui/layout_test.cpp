// Positions the layouts give their children.
#include <gtest/gtest.h>

#include "TestWindow.h"
#include "UiDriver.h"
#include "ui/layout/TabLayout.h"

namespace {

TEST(Layout, FixedSizesFirstThenStretchPaddingAndFloats) {
    oaktest::UiDriver ui;
    oaktest::TestWindow w{R"(
<VerticalLayout inset="10,10,10,10" childpadding="5">
  <Control name="top" height="20"/>
  <HorizontalLayout name="row" childpadding="4">
    <Control name="fixed" width="50" padding="2,3,0,0"/>
    <Control name="stretchA"/>
    <Control name="stretchB"/>
  </HorizontalLayout>
  <Control name="bottom" height="30"/>
  <Control name="float" float="true" pos="100,100,140,120"/>
</VerticalLayout>)"};
    w.Open({0, 0, 220, 200});
    ui.RunUntilIdle();
    auto pos = [&](const char* n) { return ui.Find(n).GetPos(); };
    EXPECT_EQ(pos("top"), (ui::Rect{10, 10, 210, 30}));
    EXPECT_EQ(pos("bottom"), (ui::Rect{10, 160, 210, 190}));
    EXPECT_EQ(pos("row"), (ui::Rect{10, 35, 210, 155}));
    EXPECT_EQ(pos("fixed"), (ui::Rect{12, 38, 62, 155}));
    EXPECT_EQ(pos("stretchA").Width() + pos("stretchB").Width(), 200 - 52 - 8);
    EXPECT_EQ(pos("stretchA").left, 66);
    EXPECT_EQ(pos("float"), (ui::Rect{100, 100, 140, 120}));
}

TEST(Layout, TabShowsOneChildAndReportsTheSwitch) {
    oaktest::UiDriver ui;
    oaktest::TestWindow w{
        R"(<TabLayout name="tabs" selectedid="1"><Control name="p0"/><Control name="p1"/><Control name="p2"/></TabLayout>)"};
    w.Open();
    ui.RunUntilIdle();
    EXPECT_FALSE(ui.IsVisible("p0"));
    EXPECT_TRUE(ui.IsVisible("p1"));
    oaktest::NotificationRecorder rec(w.GetManager());
    auto& tabs = ui.Find<ui::TabLayout>("tabs");
    tabs.SelectItem(2, ui::Notify::Yes);
    tabs.SelectItem(0, ui::Notify::No);
    EXPECT_TRUE(ui.IsVisible("p0"));
    EXPECT_FALSE(ui.IsVisible("p2"));
    ASSERT_EQ(rec.Entries().size(), 1u);
    EXPECT_EQ(rec.Entries()[0].type, "tabselect");
    EXPECT_EQ(rec.Entries()[0].wParam, 2);
    EXPECT_EQ(rec.Entries()[0].lParam, 1);
    EXPECT_FALSE(tabs.SelectItem(3, ui::Notify::Yes));
}

}  // namespace
