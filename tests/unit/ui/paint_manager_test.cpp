// Notification delivery, look-up, focus, timers, input hooks and the window's life cycle.
#include <cairo.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "TestWindow.h"
#include "UiDriver.h"
#include "ui/controls/AnimatedPicture.h"
#include "ui/controls/ToolTipWindow.h"
#include "ui/core/Container.h"
#include "ui/core/InputHooks.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"
#include "ui/core/VirtualKeys.h"
#include "ui/render/CairoCanvas.h"

using oaktest::NotificationRecorder;
using oaktest::TestWindow;
using oaktest::UiDriver;

namespace {

const char* kSkin = R"(
<Window size="300,200" caption="0,0,0,40">
  <VerticalLayout name="root">
    <Label name="Title" height="40"/>
    <Button name="first" height="30"/>
    <Edit name="second" height="30"/>
    <GifAnim name="spinner" height="30" framecount="4" interval="100"/>
  </VerticalLayout>
</Window>)";

struct Fixture : ::testing::Test {
    void SetUp() override {
        window.Open({0, 0, 300, 200});
        ui.RunUntilIdle();
        recorder = std::make_unique<NotificationRecorder>(window.GetManager());
    }
    UiDriver ui;
    TestWindow window{kSkin};
    std::unique_ptr<NotificationRecorder> recorder;
};

TEST_F(Fixture, WindowInitArrivesOnceAfterTheFirstLayout) {
    TestWindow other{kSkin};
    NotificationRecorder early(other.GetManager());
    other.Open({0, 0, 300, 200});
    EXPECT_EQ(early.Count("windowinit"), 0u);  // not before the first layout
    ui.RunUntilIdle();
    other.GetManager().NeedLayout();
    ui.RunUntilIdle();
    EXPECT_EQ(early.Count("windowinit"), 1u);
}

TEST_F(Fixture, AsynchronousNotificationsMergeUnlessRepeatsAreAllowed) {
    auto& m = window.GetManager();
    m.SendNotify(nullptr, "Update_Profile", 0, 0, true, true);
    m.SendNotify(nullptr, "Update_Profile", 0, 0, true, true);
    m.SendNotify(nullptr, "merged", 0, 0, true, false);
    m.SendNotify(nullptr, "merged", 0, 0, true, false);
    m.SendNotify(nullptr, "merged", 0, 7, true, false);  // other lParam: not identical
    EXPECT_TRUE(recorder->Entries().empty());            // nothing before the loop runs
    ui.RunUntilIdle();
    EXPECT_EQ(recorder->Count("Update_Profile"), 2u);
    EXPECT_EQ(recorder->Count("merged"), 2u);
}

TEST_F(Fixture, QueuedNotificationsOfARemovedControlAreDropped) {
    auto& m = window.GetManager();
    auto& root = ui.Find<ui::Container>("root");
    ui::Control* first = &ui.Find("first");
    m.SendNotify(first, "later", 0, 0, true, true);
    root.Remove(first);
    ui.RunUntilIdle();
    EXPECT_EQ(recorder->Count("later"), 0u);
    EXPECT_EQ(m.FindControl("first"), nullptr);
}

TEST_F(Fixture, ListenersMayUnregisterThemselvesWhileNotified) {
    auto& m = window.GetManager();
    int calls = 0;
    ui::ListenerHandle handle;
    handle = m.AddNotifier([&](ui::Notification&) {
        ++calls;
        handle.Reset();
    });
    m.SendNotify(nullptr, "x");
    m.SendNotify(nullptr, "x");
    EXPECT_EQ(calls, 1);
}

TEST_F(Fixture, NamesCompareWithoutRegardToCase) {
    EXPECT_EQ(window.GetManager().FindControl("TITLE"), window.GetManager().FindControl("title"));
    EXPECT_NE(window.GetManager().FindControl("title"), nullptr);
    EXPECT_THROW(window.GetManager().Require<ui::Control>("missing"), std::runtime_error);
}

TEST_F(Fixture, TabWalksFocusAndHooksSeeEveryKeyFirst) {
    std::vector<std::pair<uint32_t, uint32_t>> seen;
    auto hook = ui::InputHooks::Install([&](uint32_t msg, uint32_t vk, int32_t) {
        if (msg == ui::kWmKeyDown || msg == ui::kWmKeyUp) seen.emplace_back(msg, vk);
    });
    ui.Tab();
    EXPECT_EQ(window.GetManager().GetFocus(), &ui.Find("first"));
    ui.Tab();
    EXPECT_EQ(window.GetManager().GetFocus(), &ui.Find("second"));
    ui.Tab(false);
    EXPECT_EQ(window.GetManager().GetFocus(), &ui.Find("first"));
    EXPECT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen.front(), std::make_pair(uint32_t{ui::kWmKeyDown}, uint32_t{ui::kVkTab}));
    hook.Reset();
    ui.Tab();
    EXPECT_EQ(seen.size(), 6u);
}

TEST_F(Fixture, AnimatedPictureAdvancesWithTheClockAndStopsWhenHidden) {
    auto& spinner = ui.Find<ui::AnimatedPicture>("spinner");
    ASSERT_TRUE(spinner.IsPlaying());
    ui.AdvanceClock(250);
    EXPECT_EQ(spinner.GetFrame(), 2);
    spinner.SetVisible(false);
    ui.AdvanceClock(500);
    EXPECT_EQ(spinner.GetFrame(), 2);
    EXPECT_FALSE(spinner.IsPlaying());
}

TEST_F(Fixture, CaptionPressMovesTheWindowAndDoubleClickMaximises) {
    auto* native = dynamic_cast<ui::HeadlessWindow*>(window.GetNative());
    ui.ClickAt({150, 10});
    EXPECT_EQ(native->MoveCount(), 1);
    ui.ClickAt({150, 60});  // on a button: no move
    EXPECT_EQ(native->MoveCount(), 1);
    ui.DoubleClickAt({150, 10});
    EXPECT_TRUE(native->IsMaximized());
}

TEST_F(Fixture, ClosePostsAndDestroysWithTheResult) {
    window.Close(7);
    EXPECT_FALSE(window.IsClosed());
    ui.RunUntilIdle();
    EXPECT_TRUE(window.IsClosed());
    EXPECT_EQ(window.GetCloseResult(), 7);
    EXPECT_FALSE(window.HasNativeWindow());
}

TEST_F(Fixture, PostingFromAnotherThreadReachesTheWindowAndNeverAClosedOne) {
    struct Counting : TestWindow {
        using TestWindow::TestWindow;
        intptr_t HandleMessage(uint32_t message, intptr_t, intptr_t, bool& handled) override {
            if (message == 1002) ++got;
            handled = false;
            return 0;
        }
        int got = 0;
    } counting{kSkin};
    counting.Open();
    ui::WindowHandle handle = counting.GetHandle();
    std::thread worker([handle] { ui::WindowImplBase::PostMessageTo(handle, 1002); });
    worker.join();
    ui.RunUntilIdle();
    EXPECT_EQ(counting.got, 1);
    ui::WindowImplBase::PostMessageTo(999999, 1002);  // no such window: dropped
    ui.RunUntilIdle();
}

// Keyboard focus and tooltips, with the skin's focus colour and tooltip style.
const char* kHintSkin = R"(
<Window size="300,240" focuscolor="#FFFF5B14">
  <Default name="ToolTip" value="bkcolor=&quot;#FF1F232B&quot; textpadding=&quot;8,4,8,4&quot;"/>
  <VerticalLayout>
    <Button name="first" height="40" tooltip="First button"/>
    <Button name="second" height="40"/>
    <HorizontalLayout height="40" tooltip="Row hint"><Label name="inner" width="100"/></HorizontalLayout>
    <List name="list" height="60"><ListLabelElement text="one"/><ListLabelElement text="two"/></List>
    <Edit name="edit" height="40"/>
  </VerticalLayout>
</Window>)";

struct Hints : ::testing::Test {
    void SetUp() override {
        window.Open({100, 100, 400, 340});
        ui.RunUntilIdle();
        ASSERT_TRUE(window.report.Empty()) << window.report.ToString();
    }
    // The window as painted, at `pt` (window coordinates), as 0xAARRGGBB.
    uint32_t PixelAt(ui::Point pt) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 300, 240);
        cairo_t* cr = cairo_create(surface);
        {
            ui::CairoCanvas canvas(cr);
            window.OnNativePaint(canvas, {0, 0, 300, 240});
        }
        cairo_surface_flush(surface);
        const auto* row =
            cairo_image_surface_get_data(surface) + pt.y * cairo_image_surface_get_stride(surface);
        const uint32_t pixel = reinterpret_cast<const uint32_t*>(row)[pt.x];
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        return pixel;
    }
    // The left edge of `name`, half-way down: where its focus ring runs.
    uint32_t RingOf(const std::string& name) {
        const ui::Rect r = ui.Find(name).GetPos();
        return PixelAt({r.left, (r.top + r.bottom) / 2});
    }
    const ui::ToolTipWindow* Tip() {
        return dynamic_cast<ui::ToolTipWindow*>(
            ui::Toolkit::FindWindowByClass(ui::ToolTipWindow::kClassName));
    }
    UiDriver ui;
    TestWindow window{kHintSkin};
};

constexpr uint32_t kAccent = 0xFFFF5B14;

TEST_F(Hints, TheFocusRingShowsInTheFocusColourWhileTheKeyboardIsInUse) {
    auto& m = window.GetManager();
    ui.Tab();
    ASSERT_EQ(m.GetFocus(), &ui.Find("first"));
    EXPECT_EQ(RingOf("first"), kAccent);
    EXPECT_NE(RingOf("second"), kAccent);
    // A click on a button leaves no button focused: a later Space presses nothing by accident.
    ui.Click("second");
    EXPECT_EQ(m.GetFocus(), nullptr);
    // A list takes the focus on a click, but the ring waits for the keyboard.
    ui.ClickAt(ui.Find("list").GetPos().Center());
    ASSERT_EQ(m.GetFocus(), &ui.Find("list"));
    EXPECT_NE(RingOf("list"), kAccent);
    ui.PressKey(ui::kVkDown);
    EXPECT_EQ(RingOf("list"), kAccent);
    // An edit shows its focus with its own focused look, not a second ring.
    ui.Tab();
    ASSERT_EQ(m.GetFocus(), &ui.Find("edit"));
    EXPECT_NE(RingOf("edit"), kAccent);
}

TEST_F(Hints, ATooltipShowsAfterTheDesktopsDelayAndGoesWithThePointer) {
    ui.Backend().SetToolTipDelayMs(900);
    ui.Hover("first");
    ui.AdvanceClock(890);
    EXPECT_EQ(Tip(), nullptr);
    ui.AdvanceClock(20);
    ASSERT_NE(Tip(), nullptr);
    EXPECT_EQ(Tip()->GetTipText(), "First button");
    // Beside the pointer, below it, without taking the focus from the window.
    const ui::Point pointer = ui.Find("first").GetPos().Center();
    const ui::Rect tip = Tip()->GetWindowRect();
    EXPECT_GT(tip.top, 100 + pointer.y);
    EXPECT_NEAR(tip.left, 100 + pointer.x, 1);
    EXPECT_GT(tip.Width(), 40);
    EXPECT_EQ(&ui.Window(), &window);

    // A control without a tooltip of its own shows its container's.
    ui.Hover("second");
    EXPECT_EQ(Tip(), nullptr);
    ui.AdvanceClock(1000);
    EXPECT_EQ(Tip(), nullptr);
    ui.Hover("inner");
    ui.AdvanceClock(910);
    ASSERT_NE(Tip(), nullptr);
    EXPECT_EQ(Tip()->GetTipText(), "Row hint");

    // A press or a key hides it, and it does not come back while the pointer stays.
    for (const auto& act : std::vector<std::function<void()>>{
             [&] { ui.ClickAt(ui.Find("inner").GetPos().Center()); }, [&] { ui.PressKey(ui::kVkShift); }}) {
        ui.Hover("first");
        ui.AdvanceClock(910);
        ASSERT_NE(Tip(), nullptr);
        act();
        EXPECT_EQ(Tip(), nullptr);
        ui.AdvanceClock(2000);
        EXPECT_EQ(Tip(), nullptr);
    }
    // Leaving the window takes it away too.
    ui.Hover("first");
    ui.Hover("inner");
    ui.AdvanceClock(910);
    ASSERT_NE(Tip(), nullptr);
    window.GetManager().OnMouseLeaveWindow();
    EXPECT_EQ(Tip(), nullptr);
}

}  // namespace
