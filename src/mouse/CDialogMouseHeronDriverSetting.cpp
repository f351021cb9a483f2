#include "mouse/CDialogMouseHeronDriverSetting.h"

#include "device/DeviceLibraryBinding.h"
#include "macro/MacroStore.h"

namespace mouse {

CDialogMouseHeronDriverSetting::CDialogMouseHeronDriverSetting(ui::WindowImplBase& owner)
    : MousePage(owner, RowOf(kModel)) {}

void CDialogMouseHeronDriverSetting::InitPage() {
    config_.driverBlock = MacroStore::Instance().LoadDriverTempData();
}

page::DevicePage::OpenValues CDialogMouseHeronDriverSetting::CurrentOpenValues() const {
    return {0, config_.driverBlock};
}

std::unique_ptr<PageWork> CDialogMouseHeronDriverSetting::PrepareWrite(int operation) {
    if (Row().WriteOf(operation) != WriteGroup::All) return MousePage::PrepareWrite(operation);
    auto copy = std::make_shared<HeronDriverConfig>(config_);
    return DeviceWrite(
        [this, copy] {
            auto& binding = DeviceLibraryBinding::Instance();
            return Open(false, OpenValues{0, copy->driverBlock}) && binding.WriteLedStages(*copy) &&
                   binding.WriteDevice(kModel);
        },
        std::to_string(operation),
        // Kept only once the mouse holds it: the next start opens with what the device has.
        [block = copy->driverBlock](bool ok) {
            if (ok) MacroStore::Instance().SaveDriverTempData(block);
        });
}

}  // namespace mouse
