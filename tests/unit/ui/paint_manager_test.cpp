// Notification delivery, look-up, focus, timers, input hooks and the window's life cycle.
#include <gtest/gtest.h>

#include "TestWindow.h"
#include "UiDriver.h"
#include "ui/controls/AnimatedPicture.h"
#include "ui/core/Container.h"
#include "ui/core/InputHooks.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"
#include "ui/core/VirtualKeys.h"

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

}  // namespace
