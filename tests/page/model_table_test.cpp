// The model table drives the main window: every row's page sits where the row says, the workers'
// messages become the row's notifications, writes reach the row's page, and a row's lost device
// disconnects that page and no other.
#include <gtest/gtest.h>

#include <set>

#include "AppFixture.h"
#include "SimControl.h"
#include "device/DeviceTaskPage.h"
#include "device/ModelTable.h"
#include "device/SharedState.h"
#include "ui/controls/Combo.h"
#include "ui/core/Messages.h"
#include "ui/layout/TabLayout.h"

namespace {

class ModelTable : public oaktest::AppFixture {
  protected:
    DeviceTaskPage* TaskPage(DeviceModel model) { return dynamic_cast<DeviceTaskPage*>(Frame().Page(model)); }
};

TEST(ModelRows, EveryModelHasOneRowAndOnePlace) {
    std::set<int> pages;
    std::set<uint32_t> messages;
    for (int m = 0; m < kDeviceModelCount; ++m) {
        const auto model = static_cast<DeviceModel>(m);
        const ModelRow& row = RowOf(model);
        EXPECT_EQ(row.model, model) << m;
        EXPECT_EQ(RowAtPage(row.page), &row) << row.suffix;
        EXPECT_TRUE(pages.insert(row.page).second) << row.suffix;
        EXPECT_TRUE(messages.insert(row.readMessage).second) << row.suffix;
        EXPECT_TRUE(messages.insert(row.lostMessage).second) << row.suffix;
        EXPECT_EQ(RowWithMessage(row.lostMessage), &row) << row.suffix;
        EXPECT_EQ(RowWithPageClass(row.pageClass), &row) << row.suffix;
        // The operation table never names a write the page cannot make.
        if (!row.profileImage.imageSize) {
            for (WriteGroup w : row.writes) {
                EXPECT_TRUE(w != WriteGroup::RestoreDefaults && w != WriteGroup::SaveFile &&
                            w != WriteGroup::LoadFile)
                    << row.suffix;
            }
        }
    }
    EXPECT_EQ(RowAtPage(kDeviceModelCount), nullptr);
    EXPECT_EQ(RowWithMessage(1002), nullptr);
}

TEST_F(ModelTable, EachPageSitsAtItsRowsPlaceInTheTabAndTheCombo) {
    StartApp();
    auto& tab = Ui().Find<ui::TabLayout>("tab_switch");
    auto& combo = Ui().Find<ui::Combo>("device_combo");
    for (const ModelRow& row : Models()) {
        EXPECT_EQ(tab.GetItemAt(row.page), Frame().Page(row.model)) << row.suffix;
        ASSERT_NE(TaskPage(row.model), nullptr) << row.suffix;
        EXPECT_EQ(TaskPage(row.model)->TaskModel(), row.model) << row.suffix;
        ASSERT_LT(row.page, combo.GetCount()) << row.suffix;
        Ui().SelectComboItem("device_combo", row.page, "Oakridge");
        EXPECT_TRUE(Frame().Page(row.model)->IsShown()) << row.suffix;
    }
}

TEST_F(ModelTable, WorkerMessagesBecomeTheRowsNotifications) {
    StartApp();
    WaitForDeviceTasks();
    for (const ModelRow& row : Models()) {
        oaktest::NotificationRecorder recorder(Frame().GetManager());
        Frame().PostMessage(row.readMessage, 0, 0);
        Frame().PostMessage(row.lostMessage, 0, 0);
        Ui().RunUntilIdle();
        EXPECT_EQ(recorder.Count(row.readNotification), 1u) << row.suffix;
        EXPECT_EQ(recorder.Count(row.lostNotification), 1u) << row.suffix;
    }
}

TEST_F(ModelTable, ALostDeviceDisconnectsItsOwnPageOnly) {
    StartApp();
    WaitForDeviceTasks();
    for (const ModelRow& lost : Models()) {
        Frame().StartDeviceTask(0, app::WorkerKind::ReadAll, 0);
        WaitForDeviceTasks();
        for (const ModelRow& row : Models()) ASSERT_TRUE(TaskPage(row.model)->IsConnected()) << row.suffix;
        Frame().GetManager().SendNotify(nullptr, lost.lostNotification, 0, 0, true, true);
        Ui().RunUntilIdle();
        for (const ModelRow& row : Models())
            EXPECT_EQ(TaskPage(row.model)->IsConnected(), row.model != lost.model)
                << lost.suffix << " lost, " << row.suffix << " page";
    }
}

TEST_F(ModelTable, AReconnectReportsTheLostDeviceWithItsRowsMessage) {
    StartApp();
    WaitForDeviceTasks();
    for (const ModelRow& row : Models()) {
        Frame().StartDeviceTask(0, app::WorkerKind::ReadAll, 0);
        WaitForDeviceTasks();
        SimControl(row.model).SetAttached(false);
        oaktest::NotificationRecorder recorder(Frame().GetManager());
        Frame().PostMessage(ui::kWmDeviceChange, ui::kDbtDevNodesChanged, 0);
        Ui().RunUntilIdle();
        WaitForDeviceTasks();
        EXPECT_EQ(recorder.Count(row.lostNotification), 1u) << row.suffix;
        EXPECT_FALSE(TaskPage(row.model)->IsConnected()) << row.suffix;
        SimControl(row.model).SetAttached(true);
    }
}

TEST_F(ModelTable, PagesOpenWithTheIdsTheirRowNames) {
    StartApp();
    for (const ModelRow& row : Models()) {
        const DeviceId ids = IdsOf(row.model);
        if (row.ids.vidLabel) {
            EXPECT_EQ(ids.vid, ParseSkinId(Ui().Text(row.ids.vidLabel, "Oakridge"))) << row.suffix;
            EXPECT_EQ(ids.pid, ParseSkinId(Ui().Text(row.ids.pidLabel, "Oakridge"))) << row.suffix;
        } else {
            EXPECT_EQ(ids.vid, row.ids.vid) << row.suffix;
            EXPECT_EQ(ids.pid, row.ids.pid) << row.suffix;
        }
    }
}

}  // namespace
