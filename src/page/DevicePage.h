#pragma once
// Base of the device pages (the five mouse pages and the keyboard page): a container built from the
// model's page skin, owned by the main window's control tree, disabled until its device answers,
// with the status line and the device tasks every page shares. Model differences are data.
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "device/DeviceTaskPage.h"
#include "device/ModelTable.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Window.h"
#include "ui/layout/SkinPage.h"

namespace page {

class DevicePage : public ui::SkinPage, public DeviceTaskPage {
  public:
    // The four bytes a driver open passes after the ids.
    using DriverBlock = std::array<int32_t, 4>;

    DevicePage(ui::WindowImplBase& owner, const ModelRow& row);
    ~DevicePage() override;
    const ModelRow& Row() const { return row_; }
    ui::WindowImplBase& Owner() const { return owner_; }
    ui::PaintManager& Manager() const { return owner_.GetManager(); }

    // Builds the page's skin once it is in the window's tree, then initialises the page.
    void DoInit() override;

    DeviceModel TaskModel() const override { return row_.model; }
    bool IsConnected() const override { return connected_; }
    std::unique_ptr<PageWork> ReadDevice() override;
    std::unique_ptr<PageWork> Reopen() override;
    // Whether the last write of the page failed (its status line says so until a write succeeds).
    bool LastWriteFailed() const { return writeFailed_; }
    // The status line tells the result of a write, save, load or restore for kResultShownMs, then
    // shows the connection hint again (a failed write's hint stays until a write succeeds).
    static constexpr uint32_t kResultShownMs = 6000;
    void ShowWorkResult(WorkReport report, bool ok, const std::string& failureText) override;
    void DoEvent(ui::UiEvent& event) override;

  protected:
    // Custom sub-pages the page's skin names (builder callback).
    virtual std::unique_ptr<ui::Control> CreateSubPage(std::string_view className) { return nullptr; }
    // After the skin is built and the page listens to the window's notifications.
    virtual void InitPage() {}
    virtual void OnNotify(ui::Notification& n);
    // Pages without their own editors yet write nothing; each model's page replaces this.
    std::unique_ptr<PageWork> PrepareWrite(int operation) override;
    // A device write: `run` on the worker with the page's copy, merged with waiting writes of the
    // same `mergeKey`. A failure shows on the status line and has the page read again, so the page
    // shows what the device holds (or that it is gone). `finished` runs on the UI thread after it.
    std::unique_ptr<PageWork> DeviceWrite(std::function<bool()> run, std::string mergeKey,
                                          std::function<void(bool ok)> finished = nullptr);
    // Records whether the device answers and shows it on the status line; the base disables the
    // whole page while it does not.
    virtual void SetConnected(bool connected);
    void ShowConnectionStatus();
    // A write-on-demand page's write button `button`: its pending look while the page holds edits the
    // device lacks, and the tooltip that says so (`pendingTip`) or what the button does (`tip`).
    void ShowWriteButton(const std::string& button, bool pending, const char* tip, const char* pendingTip);
    // The device open with this model's arguments (`flag` is the family-E flag byte, `block` the
    // driver's bytes, its first-start bytes when absent), then for a read the device image; runs on
    // the worker.
    bool Open(bool readImage, int32_t flag = 0, const std::optional<DriverBlock>& block = std::nullopt) const;
    bool connected_ = false;

  private:
    void NoteWriteResult(bool ok);
    bool writeFailed_ = false;
    std::string resultText_;  // the last work's result while it is shown
    bool resultConnected_ = false;
    ui::WindowImplBase& owner_;
    const ModelRow& row_;
    bool initialised_ = false;
    ui::ListenerHandle listener_;
};

}  // namespace page
