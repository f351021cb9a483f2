// The transfer counter of the control surface: what a benchmark divides elapsed time by, so it must
// count exactly the calls that reached the device as a transfer.
#include "DeviceTestSupport.h"

namespace {

TEST_F(DeviceTest, TransferCountHoldsOnlyCallsThatReachedTheDevice) {
    ASSERT_TRUE(OpenAll());
    const SimControl heron(DeviceModel::Heron);
    const int egretBefore = SimControl(DeviceModel::Egret).TransferCount();
    heron.ResetCallCounts();
    EXPECT_EQ(heron.TransferCount(), 0);

    ASSERT_EQ(Binding().Call(EntryPoint::ReadMCUDevice_Heron), 0);
    EXPECT_EQ(heron.TransferCount(), 1) << "a whole-device read is one transfer";

    // The setter changes the library's own copy; nothing goes to the mouse.
    ASSERT_EQ(Binding().Call(EntryPoint::Device_Set_Led_On_Off_Heron, int32_t{1}), 0);
    EXPECT_EQ(heron.TransferCount(), 1);

    ASSERT_EQ(heron.Inject("ReadMCUDevice_Heron", 1), 0);
    EXPECT_NE(Binding().Call(EntryPoint::ReadMCUDevice_Heron), 0);
    ASSERT_EQ(heron.SetAttached(false), 0);
    EXPECT_NE(Binding().Call(EntryPoint::ReadMCUDevice_Heron), 0);
    EXPECT_EQ(heron.TransferCount(), 1) << "refused calls are no transfers";

    ASSERT_EQ(heron.SetAttached(true), 0);
    ASSERT_EQ(Binding().Call(EntryPoint::InitMCUDevice_Heron, int32_t{kLumenorVid}, int32_t{kHeronPid}), 0);
    EXPECT_EQ(heron.TransferCount(), 2) << "opening the device talks to it";

    heron.ResetCallCounts();
    EXPECT_EQ(heron.TransferCount(), 0);
    EXPECT_EQ(SimControl(DeviceModel::Egret).TransferCount(), egretBefore) << "each library counts its own";
}

}  // namespace
