// The main window as a user meets it: device pages, closing, minimising, the caption, the ids.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "device/DeviceIds.h"
#include "device/ModelTable.h"
#include "device/SharedState.h"
#include "ui/core/Messages.h"
#include "ui/layout/TabLayout.h"
#include "ui/text/TextTable.h"

namespace {

using MainWindow = oaktest::AppFixture;

TEST_F(MainWindow, OpensCentredAtItsSizeWithEveryNamedControl) {
    StartApp();
    EXPECT_TRUE(Ui().SkinErrors().empty());
    ui::Rect r = Frame().GetWindowRect();
    EXPECT_EQ(r.Width(), 1310);
    EXPECT_EQ(r.Height(), 749);
    EXPECT_EQ(r.left, (1920 - 1310) / 2);
    for (const char* name :
         {"closebtn", "minbtn", "device_combo", "tab_switch", "language_option", "language_combo",
          "vid_Egret", "pid_Egret", "vid_Ibis", "pid_Ibis", "vid_Crane", "pid_Crane"})
        EXPECT_TRUE(Ui().Exists(name)) << name;
    for (const ModelRow& row : Models()) EXPECT_NE(Frame().Page(row.model), nullptr) << row.suffix;
}

TEST_F(MainWindow, DeviceComboShowsTheMatchingPage) {
    StartApp();
    auto& tab = Ui().Find<ui::TabLayout>("tab_switch");
    EXPECT_EQ(tab.GetCurSel(), 0);
    Ui().SelectComboItem("device_combo", 2, "Oakridge");
    EXPECT_EQ(tab.GetCurSel(), 2);
    EXPECT_TRUE(Frame().Page(DeviceModel::HeronDriver)->IsShown());
    EXPECT_FALSE(Frame().Page(DeviceModel::Plover)->IsShown());
    Ui().SelectComboItem("device_combo", 5, "Oakridge");
    EXPECT_TRUE(Frame().Page(DeviceModel::Crane)->IsShown());
}

TEST_F(MainWindow, CloseButtonEndsTheLoopWithExitCodeZero) {
    StartApp();
    WaitForDeviceTasks();
    Ui().Click("closebtn");
    EXPECT_TRUE(Ui().Backend().HasQuit());
    EXPECT_EQ(Ui().Backend().QuitCode(), 0);
    EXPECT_TRUE(Frame().IsClosed());
}

TEST_F(MainWindow, MinimiseButtonMinimises) {
    StartApp();
    Ui().Click("minbtn");
    EXPECT_TRUE(Frame().GetNative()->IsMinimized());
}

TEST_F(MainWindow, CaptionDoubleClickNeverMaximises) {
    StartApp();
    Ui().DoubleClickAt({600, 20}, "Oakridge");
    EXPECT_FALSE(Frame().GetNative()->IsMaximized());
    Frame().SendMessage(ui::kWmNcLButtonDblClk, 2, 0);
    EXPECT_FALSE(Frame().GetNative()->IsMaximized());
}

TEST_F(MainWindow, DeviceIdsComeFromTheSkin) {
    StartApp();
    // The skin names the ids the mice answer to.
    EXPECT_EQ(IdsOf(DeviceModel::Egret).vid, kLumenorVid);
    EXPECT_EQ(IdsOf(DeviceModel::Egret).pid, kEgretPid);
    EXPECT_EQ(IdsOf(DeviceModel::Ibis).vid, kLumenorVid);
    EXPECT_EQ(IdsOf(DeviceModel::Ibis).pid, kIbisPid);
    EXPECT_EQ(IdsOf(DeviceModel::Crane).vid, kLumenorVid);
    EXPECT_EQ(IdsOf(DeviceModel::Crane).pid, kCranePid);
}

TEST(SkinIds, ParseLikeTheSkinWritesThem) {
    struct Case {
        const char* text;
        int32_t id;
    };
    const Case cases[] = {{"  123a", 123}, {"123", 123}, {"abc", 0}, {"", 0},
                          {"  ", 0},       {"-5", 0},    {"007", 7}, {"99999999999", INT32_MAX}};
    for (const auto& c : cases) EXPECT_EQ(ParseSkinId(c.text), c.id) << '"' << c.text << '"';
}

}  // namespace
