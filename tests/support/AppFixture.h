#pragma once
// The whole program in one process on the headless backend, with the real skins: a page test
// starts it, then drives it like a user.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "UiDriver.h"
#include "app/MainFrame.h"
#include "device/DeviceLibraryBinding.h"

namespace oaktest {

// While it lives, the profile files' message box shows nothing: its texts (resolved) are collected.
class ShownMessages {
  public:
    ShownMessages();
    ~ShownMessages();
    ShownMessages(const ShownMessages&) = delete;
    ShownMessages& operator=(const ShownMessages&) = delete;
    const std::vector<std::string>& Texts() const { return texts_; }

  private:
    std::vector<std::string> texts_;
};

class AppFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Creates and shows the main window, then runs until idle.
    void StartApp();
    // Creates and shows the main window without running the loop: nothing has been delivered yet.
    void OpenApp();
    // Runs until the running device task (and any pending one) has finished.
    void WaitForDeviceTasks();
    // Starts the program, waits for the first read and picks device `comboIndex` (3 is the Egret).
    void ShowDevice(int comboIndex);
    app::MainFrame& Frame() { return *frame_; }
    // The page the main window shows for `model`, by its real type.
    template <class Page>
    Page& PageOf(DeviceModel model) {
        return *dynamic_cast<Page*>(Frame().Page(model));
    }
    // The binding with the family-E mouse `model` opened as its page opens it (its ids, flag 0).
    DeviceLibraryBinding& OpenedMouse(DeviceModel model);
    UiDriver& Ui() { return *driver_; }
    // A private folder for this test, removed afterwards.
    const std::filesystem::path& TempDir() const { return temp_; }

    std::unique_ptr<UiDriver> driver_;
    std::unique_ptr<app::MainFrame> frame_;

  private:
    std::filesystem::path temp_;
};

}  // namespace oaktest
