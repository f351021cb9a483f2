// Window messages from other processes: they come in through the single-instance endpoint, and only
// the device-change broadcast may; the task results are the workers' own.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "SimControl.h"
#include "app/Application.h"
#include "device/DeviceTaskPage.h"
#include "platform/MessageEndpoint.h"
#include "ui/core/Messages.h"

namespace {

class OutsideMessages : public oaktest::AppFixture {
  protected:
    bool EgretConnected() {
        return dynamic_cast<DeviceTaskPage*>(Frame().Page(DeviceModel::Egret))->IsConnected();
    }
    static bool PostFromOutside(uint32_t message, int64_t wParam = 0) {
        return platform::MessageEndpoint::Post(app::MainFrame::kClassName, message, wParam, 0);
    }
};

TEST_F(OutsideMessages, TaskResultsAreRefusedAndTheDeviceChangeStillLands) {
    StartApp();
    WaitForDeviceTasks();
    ASSERT_TRUE(EgretConnected());
    ui::WindowHandle window = Frame().GetHandle();
    auto endpoint = app::ClaimMessageEndpoint([window](uint32_t message, int64_t wParam, int64_t lParam) {
        ui::WindowImplBase::PostMessageTo(window, message, static_cast<intptr_t>(wParam),
                                          static_cast<intptr_t>(lParam));
    });
    ASSERT_NE(endpoint, nullptr);
    oaktest::NotificationRecorder recorder(Frame().GetManager());

    for (uint32_t message = 1002; message <= 1008; ++message)
        EXPECT_FALSE(PostFromOutside(message)) << message;
    for (uint32_t message = 2000; message <= 2005; ++message)
        EXPECT_FALSE(PostFromOutside(message)) << message;
    Ui().RunUntilIdle();
    EXPECT_EQ(recorder.Seen(), std::vector<std::string>{});
    EXPECT_TRUE(EgretConnected()) << "a stranger's 2002 must not mark a plugged mouse lost";
    EXPECT_FALSE(Frame().IsDeviceTaskRunning());

    // What devsim sends after an unplug still starts the reconnect.
    SimControl(DeviceModel::Egret).SetAttached(false);
    EXPECT_TRUE(PostFromOutside(ui::kWmDeviceChange, ui::kDbtDevNodesChanged));
    // The reconnect may start and end within one turn of the loop: wait for what it reports.
    EXPECT_TRUE(Ui().RunUntil([&] { return recorder.Count("Egret_Connet_Error") == 1; }));
    WaitForDeviceTasks();
    EXPECT_FALSE(EgretConnected());
}

}  // namespace
