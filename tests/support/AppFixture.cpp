#include "AppFixture.h"

#include <cstdlib>
#include <random>

#include "app/Application.h"
#include "app/Language.h"
#include "device/ModelTable.h"
#include "device/SharedState.h"
#include "mouse/ColorPicker.h"
#include "page/ProfileFiles.h"
#include "platform/PointerSettingsStore.h"

namespace oaktest {

ShownMessages::ShownMessages() {
    page::ProfileFiles::SetMessageShower(
        [this](ui::WindowImplBase*, const std::string& text) { texts_.push_back(text); });
}

ShownMessages::~ShownMessages() {
    page::ProfileFiles::SetMessageShower(nullptr);
}

void AppFixture::SetUp() {
    std::random_device rd;
    temp_ = std::filesystem::temp_directory_path() /
            ("oakridge-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(temp_);
    // Everything the program writes stays in this test's folder.
    setenv("XDG_STATE_HOME", (temp_ / "state").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (temp_ / "config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (temp_ / "run").c_str(), 1);
    setenv("OAKRIDGE_DEVICE_DIR", (temp_ / "devices").c_str(), 1);
    // A known desktop language; a test that starts in another sets its own.
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"}) unsetenv(name);
    setenv("LANG", "en_US.UTF-8", 1);
    std::filesystem::create_directories(temp_ / "run");
    std::filesystem::permissions(temp_ / "run", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    // The desktop's pointer settings are never read or changed by a test.
    struct NoDesktop final : platform::PointerDesktop {
        bool GetAcceleration(bool&) override { return false; }
        bool SetAcceleration(bool) override { return false; }
        bool GetSpeed(int&) override { return false; }
        bool SetSpeed(int) override { return false; }
        bool SetDoubleClickTime(int) override { return false; }
        bool SetWheelScrollLines(int) override { return false; }
    };
    platform::SetPointerDesktop(std::make_shared<NoDesktop>());
    driver_ = std::make_unique<UiDriver>();
    app::Languages() = {};
    mouse::ColorPicker::SetChooser(nullptr);  // the real picker unless a test answers it
}

DeviceLibraryBinding& AppFixture::OpenedMouse(DeviceModel model) {
    auto& binding = DeviceLibraryBinding::Instance();
    const DeviceId ids = IdsOf(model);
    binding.Call(RowOf(model).open, ids.vid, ids.pid, int32_t{0});
    return binding;
}

void AppFixture::OpenApp() {
    frame_ = std::make_unique<app::MainFrame>();
    ASSERT_TRUE(frame_->Open()) << "the main skin did not build";
}

void AppFixture::StartApp() {
    OpenApp();
    driver_->RunUntilIdle();
}

void AppFixture::ShowDevice(int comboIndex) {
    StartApp();
    WaitForDeviceTasks();
    driver_->SelectComboItem("device_combo", comboIndex, "Oakridge");
}

void AppFixture::WaitForDeviceTasks() {
    ASSERT_TRUE(driver_->RunUntil([this] { return !frame_->IsDeviceTaskRunning(); }, 20000))
        << "the device task did not finish";
    driver_->RunUntilIdle();
}

void AppFixture::TearDown() {
    if (frame_ && frame_->IsDeviceTaskRunning()) WaitForDeviceTasks();
    frame_.reset();
    driver_.reset();
    platform::SetPointerDesktop(nullptr);
    mouse::ColorPicker::SetChooser(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(temp_, ec);
}

}  // namespace oaktest
