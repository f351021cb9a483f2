#include "page/DevicePage.h"

#include "device/DeviceLibraryBinding.h"
#include "device/SharedState.h"
#include "ui/controls/Button.h"

namespace page {
namespace {

// Driver block bytes a first open uses when no saved block exists.
constexpr DevicePage::DriverBlock kDefaultDriverBlock = {1, 2, 255, 4};

constexpr uintptr_t kResultTimer = 1;

}  // namespace

DevicePage::DevicePage(ui::WindowImplBase& owner, const ModelRow& row) : owner_(owner), row_(row) {
    SetName(std::string("page_") + row.suffix);
}

DevicePage::~DevicePage() = default;

void DevicePage::DoInit() {
    if (initialised_) return;
    initialised_ = true;
    LoadSkin(Manager(), row_.pageSkin, [this](std::string_view cls) { return CreateSubPage(cls); });
    listener_ = Manager().AddNotifier([this](ui::Notification& n) { OnNotify(n); });
    InitPage();
    SetConnected(false);
}

void DevicePage::OnNotify(ui::Notification& n) {
    if (!n.sender && n.type == row_.lostNotification) SetConnected(false);
}

void DevicePage::SetConnected(bool connected) {
    connected_ = connected;
    SetEnabled(connected);
    ShowConnectionStatus();
}

void DevicePage::ShowConnectionStatus() {
    const bool connected = connected_;
    std::string suffix = row_.suffix;
    // The skin colours the state: its enabled colour means connected, its disabled colour not.
    if (auto* status = owner_.GetManager().FindControl("status_" + suffix)) {
        status->SetText(connected ? "%{320}" : "%{313}");
        status->SetEnabled(connected);
    }
    // Emptied rather than hidden, so the page does not jump when the mouse comes and goes.
    // A failed write stays in view until a write succeeds: the user's change is not on the device.
    // A result told while the device answered says nothing once it is gone.
    if (resultConnected_ && !connected) resultText_.clear();
    if (auto* hint = owner_.GetManager().FindControl("hint_" + suffix)) {
        if (!resultText_.empty())
            hint->SetText(resultText_);
        else
            hint->SetText(writeFailed_ ? (connected ? "%{520}" : "%{521}") : (connected ? "" : "%{314}"));
    }
}

void DevicePage::ShowWorkResult(WorkReport report, bool ok, const std::string& failureText) {
    resultText_ = WorkResultText(report, ok, connected_, failureText);
    resultConnected_ = connected_;
    // A later result replaces this one and shows for the whole time again.
    Manager().SetTimer(this, kResultTimer, kResultShownMs);
    ShowConnectionStatus();
}

void DevicePage::DoEvent(ui::UiEvent& event) {
    if (event.type == ui::EventType::Timer && event.timerId == kResultTimer) {
        Manager().KillTimer(this, kResultTimer);
        resultText_.clear();
        ShowConnectionStatus();
        return;
    }
    SkinPage::DoEvent(event);
}

void DevicePage::ShowWriteButton(const std::string& button, bool pending, const char* tip,
                                 const char* pendingTip) {
    auto* write = Manager().Find<ui::Button>(button);
    if (!write) return;
    write->SetPending(pending);
    write->SetToolTip(pending ? pendingTip : tip);
}

bool DevicePage::Open(bool readImage, int32_t flag, const std::optional<DriverBlock>& block) const {
    auto& binding = DeviceLibraryBinding::Instance();
    const DeviceId ids = IdsOf(row_.model);
    int32_t status = -1;
    switch (row_.openArguments) {
        case OpenArguments::None:
            status = binding.Call(row_.open, ids.vid, ids.pid);
            break;
        case OpenArguments::Flag:
            status = binding.Call(row_.open, ids.vid, ids.pid, flag);
            break;
        case OpenArguments::DriverBlock: {
            const DriverBlock& b = block.value_or(kDefaultDriverBlock);
            status = binding.Call(row_.open, ids.vid, ids.pid, b[0], b[1], b[2], b[3]);
            break;
        }
    }
    if (status != 0) return false;
    if (!readImage) return true;
    switch (row_.imageRead) {
        case ImageRead::None:
            return true;
        case ImageRead::Plain:
            return binding.Call(row_.readImage) == 0;
        case ImageRead::WithKind: {
            int32_t kind = 0;
            return binding.Call(row_.readImage, &kind) == 0;
        }
    }
    return false;
}

std::unique_ptr<PageWork> DevicePage::ReadDevice() {
    return std::make_unique<FunctionWork>([this] { return Open(true); },
                                          [this](bool ok) { SetConnected(ok); });
}

std::unique_ptr<PageWork> DevicePage::PrepareWrite(int) {
    return std::make_unique<FunctionWork>(nullptr, nullptr);
}

std::unique_ptr<PageWork> DevicePage::DeviceWrite(std::function<bool()> run, std::string mergeKey,
                                                  std::function<void(bool ok)> finished) {
    auto work = std::make_unique<FunctionWork>(
        std::move(run),
        [this, finished = std::move(finished)](bool ok) {
            NoteWriteResult(ok);
            if (finished) finished(ok);
        },
        [this](bool ok) -> std::unique_ptr<PageWork> {
            if (ok) return nullptr;
            auto read = ReadDevice();
            read->SetMergeKey("read");
            return read;
        });
    work->SetMergeKey(std::move(mergeKey));
    work->SetReport(WorkReport::Write);
    return work;
}

void DevicePage::NoteWriteResult(bool ok) {
    if (writeFailed_ == !ok) return;
    writeFailed_ = !ok;
    ShowConnectionStatus();
}

std::unique_ptr<PageWork> DevicePage::Reopen() {
    // Only the open itself tells whether the mouse is still there; losing it is reported by the
    // worker's message, and the page hears of it through the connection-error notification.
    return std::make_unique<FunctionWork>([this] { return Open(false); }, nullptr);
}

}  // namespace page
