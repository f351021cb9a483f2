#include "mouse/MousePage.h"

#include "device/DeviceIds.h"
#include "device/DeviceLibraryBinding.h"
#include "device/SharedState.h"

namespace mouse {
namespace {

const MouseModel kHeron{"Heron", "XML/MousePage_Heron.xml", DeviceModel::Heron,
                        EntryPoint::InitMCUDevice_Heron, "Heron_Connet_Error"};
const MouseModel kHeronDriver{"Heron_Driver", "XML/MousePage_Heron_Driver.xml", DeviceModel::HeronDriver,
                              EntryPoint::InitMCUDevice_Heron_Driver, "Heron_DRIVER_Connet_Error"};
const MouseModel kIbis{"Ibis", "XML/MousePage_Ibis.xml", DeviceModel::Ibis, EntryPoint::InitMCUDevice_Ibis,
                       "Ibis_Connet_Error"};
const MouseModel kCrane{"Crane", "XML/MousePage_Crane.xml", DeviceModel::Crane,
                        EntryPoint::InitMCUDevice_Crane, "Crane_Connet_Error"};

// Driver block bytes a first open uses when no saved block exists.
constexpr int32_t kDefaultDriverBlock[4] = {1, 2, 255, 4};

}  // namespace

MousePage::MousePage(ui::WindowImplBase& owner, const MouseModel& model) : owner_(owner), model_(model) {
    SetName(std::string("page_") + model.suffix);
}

MousePage::~MousePage() = default;

void MousePage::DoInit() {
    if (initialised_) return;
    initialised_ = true;
    LoadSkin(Manager(), model_.skinFile, [this](std::string_view cls) { return CreateSubPage(cls); });
    listener_ = Manager().AddNotifier([this](ui::Notification& n) { OnNotify(n); });
    InitPage();
    SetConnected(false);
}

void MousePage::OnNotify(ui::Notification& n) {
    if (!n.sender && n.type == model_.connectionError) SetConnected(false);
}

void MousePage::SetConnected(bool connected) {
    connected_ = connected;
    SetEnabled(connected);
    ShowConnectionStatus();
}

void MousePage::ShowConnectionStatus() {
    const bool connected = connected_;
    std::string suffix = model_.suffix;
    // The skin colours the state: its enabled colour means connected, its disabled colour not.
    if (auto* status = owner_.GetManager().FindControl("status_" + suffix)) {
        status->SetText(connected ? "%{320}" : "%{313}");
        status->SetEnabled(connected);
    }
    // Emptied rather than hidden, so the page does not jump when the mouse comes and goes.
    // A failed write stays in view until a write succeeds: the user's change is not on the device.
    if (auto* hint = owner_.GetManager().FindControl("hint_" + suffix))
        hint->SetText(writeFailed_ ? (connected ? "%{520}" : "%{521}") : (connected ? "" : "%{314}"));
}

bool MousePage::Open(bool readImage, int32_t flag) const {
    auto& binding = DeviceLibraryBinding::Instance();
    const auto& ids = SkinIds();
    switch (model_.model) {
        case DeviceModel::Heron:
            return binding.Call(model_.open, int32_t{kLumenorVid}, int32_t{kHeronPid}) == 0 &&
                   (!readImage || binding.Call(EntryPoint::ReadMCUDevice_Heron) == 0);
        case DeviceModel::HeronDriver:
            return binding.Call(model_.open, int32_t{kLumenorVid}, int32_t{kHeronDriverPid},
                                kDefaultDriverBlock[0], kDefaultDriverBlock[1], kDefaultDriverBlock[2],
                                kDefaultDriverBlock[3]) == 0 &&
                   (!readImage || binding.Call(EntryPoint::ReadMCUDevice_Heron_Driver) == 0);
        case DeviceModel::Egret: {
            int32_t kind = 0;
            return binding.Call(model_.open, ids.egretVid, ids.egretPid, flag) == 0 &&
                   (!readImage || binding.Call(EntryPoint::ReadDeviceData_Egret, &kind) == 0);
        }
        case DeviceModel::Ibis:
            return binding.Call(model_.open, ids.ibisVid, ids.ibisPid, flag) == 0 &&
                   (!readImage || binding.Call(EntryPoint::ReadDeviceData_Ibis) == 0);
        case DeviceModel::Crane:
            return binding.Call(model_.open, ids.craneVid, ids.cranePid, flag) == 0 &&
                   (!readImage || binding.Call(EntryPoint::ReadDeviceData_Crane) == 0);
        case DeviceModel::Plover:
            return false;
    }
    return false;
}

std::unique_ptr<PageWork> MousePage::ReadDevice() {
    return std::make_unique<FunctionWork>([this] { return Open(true); },
                                          [this](bool ok) { SetConnected(ok); });
}

std::unique_ptr<PageWork> MousePage::PrepareWrite(int) {
    return std::make_unique<FunctionWork>(nullptr, nullptr);
}

std::unique_ptr<PageWork> MousePage::DeviceWrite(std::function<bool()> run, std::string mergeKey) {
    auto work = std::make_unique<FunctionWork>(
        std::move(run), [this](bool ok) { NoteWriteResult(ok); },
        [this](bool ok) -> std::unique_ptr<PageWork> {
            if (ok) return nullptr;
            auto read = ReadDevice();
            read->SetMergeKey("read");
            return read;
        });
    work->SetMergeKey(std::move(mergeKey));
    return work;
}

void MousePage::NoteWriteResult(bool ok) {
    if (writeFailed_ == !ok) return;
    writeFailed_ = !ok;
    ShowConnectionStatus();
}

std::unique_ptr<PageWork> MousePage::Reopen() {
    // Only the open itself tells whether the mouse is still there; losing it is reported by the
    // worker's message, and the page hears of it through the connection-error notification.
    return std::make_unique<FunctionWork>([this] { return Open(false); }, nullptr);
}

CDialogMouseHeronSetting::CDialogMouseHeronSetting(ui::WindowImplBase& owner) : MousePage(owner, kHeron) {}
CDialogMouseHeronDriverSetting::CDialogMouseHeronDriverSetting(ui::WindowImplBase& owner)
    : MousePage(owner, kHeronDriver) {}
CDialogMouseIbisSetting::CDialogMouseIbisSetting(ui::WindowImplBase& owner) : MousePage(owner, kIbis) {}
CDialogMouseCraneSetting::CDialogMouseCraneSetting(ui::WindowImplBase& owner) : MousePage(owner, kCrane) {}

}  // namespace mouse
