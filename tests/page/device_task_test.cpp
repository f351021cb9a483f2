// Device tasks as the user experiences them: the first read behind the progress window, writes
// one at a time without losing the last edit, and devices coming and going.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "SimControl.h"
#include "app/ReadProgress.h"
#include "device/ModelTable.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"

namespace {

constexpr DeviceModel kAll[] = {DeviceModel::Plover, DeviceModel::Heron, DeviceModel::HeronDriver,
                                DeviceModel::Egret,  DeviceModel::Ibis,  DeviceModel::Crane};

class DeviceTasks : public oaktest::AppFixture {
  protected:
    ui::Control* Page(DeviceModel i) { return Frame().Page(i); }
    bool Connected(DeviceModel i) { return dynamic_cast<DeviceTaskPage*>(Page(i))->IsConnected(); }
    // What the user can touch: a page with a device area disables that, the others the whole page.
    bool Usable(DeviceModel i) {
        const std::string area = std::string("device_Mouse_") + RowOf(i).suffix + "_page";
        if (Ui().Exists(area, "Oakridge")) return Ui().Find(area, "Oakridge").IsEffectivelyEnabled();
        return Page(i)->IsEnabled();
    }
    void RequestWrite(const char* type, int operation) {
        Frame().GetManager().SendNotify(nullptr, type, 0, operation, true, true);
    }
    void DeviceChange() { Frame().PostMessage(ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0); }
};

TEST_F(DeviceTasks, StartUpWithoutDevicesReadsAllBehindTheProgressWindowAndReportsOnce) {
    for (auto model : kAll) SimControl(model).SetAttached(false);
    OpenApp();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    ASSERT_NE(Frame().ProgressWindow(), nullptr);
    EXPECT_NE(ui::Toolkit::FindWindowByClass("ReadProgress"), nullptr);
    Ui().Snapshot(::testing::TempDir() + "progress.png", "ReadProgress");
    WaitForDeviceTasks();
    EXPECT_EQ(recorder.Count("Update_Profile"), 1u);
    EXPECT_EQ(ui::Toolkit::FindWindowByClass("ReadProgress"), nullptr);
    for (const ModelRow& row : Models()) {
        EXPECT_FALSE(Connected(row.model)) << row.suffix;
        EXPECT_FALSE(Usable(row.model)) << row.suffix;
    }
}

TEST_F(DeviceTasks, AttachedDevicesEnableTheirPages) {
    SimControl(DeviceModel::Ibis).SetAttached(false);
    StartApp();
    WaitForDeviceTasks();
    EXPECT_TRUE(Connected(DeviceModel::Egret));
    EXPECT_TRUE(Usable(DeviceModel::Egret));
    EXPECT_TRUE(Connected(DeviceModel::HeronDriver));
    EXPECT_FALSE(Connected(DeviceModel::Ibis));
    EXPECT_EQ(Ui().ResolvedText("status_Egret", "Oakridge"), Ui().ResolvedText("status_Heron", "Oakridge"));
    EXPECT_EQ(Ui().Text("hint_Egret", "Oakridge"), "");
    EXPECT_EQ(Ui().Text("hint_Ibis", "Oakridge"), "%{314}");
}

TEST_F(DeviceTasks, WritesRunOneAfterAnotherAndRepeatedRequestsCollapse) {
    StartApp();
    WaitForDeviceTasks();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    SimControl(DeviceModel::Egret).SetLatency(30);  // a slow mouse keeps the first write busy
    RequestWrite("WRITE_EgretDATA", 2);
    Ui().RunUntil([&] { return Frame().IsDeviceTaskRunning(); });
    for (int i = 0; i < 20; ++i) RequestWrite("WRITE_EgretDATA", 2);  // e.g. a slider being dragged
    RequestWrite("WRITE_IbisDATA", 8);
    Ui().RunUntilIdle();
    EXPECT_TRUE(Frame().IsDeviceTaskRunning());
    WaitForDeviceTasks();
    SimControl(DeviceModel::Egret).SetLatency(0);
    // The first write, then one for the collapsed Egret requests, then the Ibis one.
    EXPECT_EQ(recorder.Count("Update_Profile"), 3u);
}

TEST_F(DeviceTasks, BroadcastDuringAWriteStartsNothing) {
    StartApp();
    WaitForDeviceTasks();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    SimControl(DeviceModel::Egret).ResetCallCounts();
    SimControl(DeviceModel::Egret).SetLatency(20);
    RequestWrite("WRITE_EgretDATA", 2);
    Ui().RunUntil([&] { return Frame().IsDeviceTaskRunning(); });
    Frame().SendMessage(ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0);
    WaitForDeviceTasks();
    SimControl(DeviceModel::Egret).SetLatency(0);
    EXPECT_EQ(recorder.Count("Update_Profile"), 1u);
    EXPECT_EQ(SimControl(DeviceModel::Egret).CallCount("InitMCUDevice_Egret"), 0);
}

TEST_F(DeviceTasks, UnpluggingAndReplugging) {
    StartApp();
    WaitForDeviceTasks();
    ASSERT_TRUE(Connected(DeviceModel::Egret));
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    SimControl heron(DeviceModel::Heron);
    heron.ResetCallCounts();

    SimControl(DeviceModel::Egret).SetAttached(false);
    DeviceChange();  // the wait below delivers it; the reconnect may start and end within one step
    WaitForDeviceTasks();
    EXPECT_EQ(recorder.Count("Egret_Connet_Error"), 1u);
    EXPECT_EQ(recorder.Count("Heron_Connet_Error"), 0u);
    EXPECT_FALSE(Connected(DeviceModel::Egret));
    EXPECT_FALSE(Usable(DeviceModel::Egret));
    EXPECT_TRUE(Connected(DeviceModel::Heron));
    EXPECT_EQ(heron.CallCount("InitMCUDevice_Heron"), 1);  // re-opened, silently
    EXPECT_EQ(heron.CallCount("ReadMCUDevice_Heron"), 0);

    SimControl(DeviceModel::Egret).SetAttached(true);
    DeviceChange();
    WaitForDeviceTasks();
    EXPECT_TRUE(Connected(DeviceModel::Egret));
    EXPECT_TRUE(Usable(DeviceModel::Egret));
}

TEST_F(DeviceTasks, ClosingWaitsForTheRunningTask) {
    StartApp();
    WaitForDeviceTasks();
    // Started and asked to close without running the loop: however fast the worker is, its end has
    // not been handled yet, so the task is still running for the window.
    Frame().StartDeviceTask(4, app::WorkerKind::Write, 2);
    Frame().SendMessage(ui::kWmClose, 1, 0);
    EXPECT_TRUE(Frame().IsDeviceTaskRunning());
    EXPECT_FALSE(Frame().IsClosed());
    EXPECT_FALSE(Ui().Backend().HasQuit());
    WaitForDeviceTasks();
    EXPECT_TRUE(Frame().IsClosed());
    EXPECT_TRUE(Ui().Backend().HasQuit());
}

TEST_F(DeviceTasks, MessagesFromOtherSendersBecomeNotifications) {
    StartApp();
    WaitForDeviceTasks();
    oaktest::NotificationRecorder recorder(Frame().GetManager());
    Frame().PostMessage(1005);
    Frame().PostMessage(2004);
    Frame().PostMessage(1002);  // no task runs: nothing has finished
    Ui().RunUntilIdle();
    std::vector<std::string> broadcasts;
    for (const auto& e : recorder.Entries())
        if (e.sender.empty()) broadcasts.push_back(e.type);
    EXPECT_EQ(broadcasts, (std::vector<std::string>{"READ_EgretDATA", "Crane_Connet_Error"}));
}

}  // namespace
