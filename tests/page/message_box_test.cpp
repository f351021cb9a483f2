// The message box answers: OK is true; Cancel, the close button and Escape are false.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "app/WarrningMessage.h"
#include "ui/core/VirtualKeys.h"

namespace {

using MessageBoxTest = oaktest::AppFixture;

TEST_F(MessageBoxTest, ReturnsTrueOnlyForOk) {
    StartApp();
    struct Case {
        const char* button;
        bool expected;
    };
    for (const Case c : {Case{"btn_ok", true}, Case{"btn_cancel", false}, Case{"btn_colse", false}}) {
        Ui().PressInNextModal("MessageBox", c.button);
        EXPECT_EQ(app::ShowMessage(&Frame(), "Device not found"), c.expected) << c.button;
    }
    EXPECT_EQ(Ui().Backend().PendingModalAnswers(), 0u);
}

TEST_F(MessageBoxTest, ShowsTheTextOverTheDisabledOwnerAndEscapeCancels) {
    StartApp();
    std::string shown;
    bool ownerEnabled = true;
    ui::Rect box, owner = Frame().GetWindowRect();
    Ui().AnswerModal("MessageBox", [&](ui::WindowImplBase& w) {
        shown = Ui().Text("label_display", "MessageBox");
        ownerEnabled = Frame().GetNative()->IsEnabled();
        box = w.GetWindowRect();
        Ui().Snapshot(::testing::TempDir() + "message_box.png", "MessageBox");
        Ui().PressKey(ui::kVkEscape);
    });
    EXPECT_FALSE(app::ShowMessage(&Frame(), "Transfer failed"));
    EXPECT_EQ(shown, "Transfer failed");
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(Frame().GetNative()->IsEnabled());
    EXPECT_EQ(box.Center().x, owner.Center().x);
    EXPECT_EQ(box.Width(), 440);
}

TEST_F(MessageBoxTest, TheOwnerTakesNoClicksWhileTheBoxIsUp) {
    StartApp();
    Ui().AnswerModal("MessageBox", [&](ui::WindowImplBase&) {
        Ui().Click("closebtn", "Oakridge");
        EXPECT_FALSE(Ui().Backend().HasQuit());
        Ui().Click("btn_ok", "MessageBox");
    });
    EXPECT_TRUE(app::ShowMessage(&Frame(), "x"));
}

}  // namespace
