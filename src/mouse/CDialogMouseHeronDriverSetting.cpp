#include "mouse/CDialogMouseHeronDriverSetting.h"

#include <algorithm>

#include "assign/KeyEdit_Heron_Driver.h"
#include "device/DeviceLibraryBinding.h"
#include "macro/MacroStore.h"
#include "ui/core/Toolkit.h"

namespace mouse {
namespace {

// Block byte 1: the lighting mode in bits 0-2 (0 is no mode), bit 3 set while the lights are off.
constexpr uint8_t kModeBits = 0x07;
constexpr uint8_t kLightsOffBit = 0x08;

// The Heron's lighting options, with the driver's codes (1 rainbow ... 7 off).
const LightingModel& DriverModes() {
    static const LightingModel model{{{"result_LED_mode_rainbow", 1},
                                      {"result_LED_mode_random_leisure", 2},
                                      {"result_LED_mode_random_sleep", 3},
                                      {"result_LED_mode_random_sport", 4},
                                      {"result_LED_mode_DPI_color_breath", 5},
                                      {"result_LED_mode_DPI_light_on", 6},
                                      {"result_LED_mode_off", 7}}};
    return model;
}

}  // namespace

CDialogMouseHeronDriverSetting::CDialogMouseHeronDriverSetting(ui::WindowImplBase& owner)
    : FamilyHPage(owner), lighting_(Names(), DriverModes()) {}

void CDialogMouseHeronDriverSetting::InitPage() {
    // Before the first read: every open passes the block.
    Config().driverBlock = MacroStore::Instance().LoadDriverTempData();
    FamilyHPage::InitPage();
}

std::optional<page::DevicePage::DriverBlock> CDialogMouseHeronDriverSetting::OpenBlock() const {
    const auto& b = Config().driverBlock;
    return DriverBlock{b[0], b[1], b[2], b[3]};
}

void CDialogMouseHeronDriverSetting::ShowLighting() {
    const uint8_t lighting = Config().driverBlock[1];
    int mode = lighting & kModeBits;
    int lightsOff = (lighting & kLightsOffBit) ? 1 : 0;
    int unused = 0;  // the driver has neither all/half nor a speed
    lighting_.Show(Manager(), {mode, unused, unused, &lightsOff});
}

bool CDialogMouseHeronDriverSetting::HandleLighting(ui::Notification& n) {
    uint8_t& lighting = Config().driverBlock[1];
    int mode = lighting & kModeBits;
    int lightsOff = (lighting & kLightsOffBit) ? 1 : 0;
    int unused = 0;
    bool changed = false;
    if (!lighting_.Handle(n, {mode, unused, unused, &lightsOff}, changed)) return false;
    if (!changed) return true;
    const uint8_t updated = static_cast<uint8_t>((lighting & ~(kModeBits | kLightsOffBit)) |
                                                 (mode & kModeBits) | (lightsOff ? kLightsOffBit : 0));
    if (updated == lighting) return true;
    // Only the block changes; it goes to the mouse with the next write.
    lighting = updated;
    Edited();
    return true;
}

void CDialogMouseHeronDriverSetting::StageOptionChosen(int shown) {
    auto& c = Config();
    c.driverBlock[0] = static_cast<uint8_t>(shown - 1);
    const auto stage = static_cast<size_t>(shown - 1);
    if (stage < c.stages.size())
        c.driverBlock[3] = static_cast<uint8_t>(std::clamp(c.stages[stage].level, 0, 255));
}

void CDialogMouseHeronDriverSetting::StageCountChosen(int item) {
    // The new active stage (the last enabled one) in the low nibble; the high nibble is the driver's.
    uint8_t& byte0 = Config().driverBlock[0];
    byte0 = static_cast<uint8_t>((byte0 & 0xF0) | ((item + 1) & 0x0F));
}

bool CDialogMouseHeronDriverSetting::BeforeMouseWrite(const HeronDriverConfig& copy) {
    return DeviceLibraryBinding::Instance().WriteLedStages(copy);
}

void CDialogMouseHeronDriverSetting::AfterMouseWrite(const HeronDriverConfig& copy, bool ok) {
    // Kept once the mouse holds it, so the next start opens with what the mouse has. The store
    // belongs to the UI thread.
    if (!ok) return;
    ui::Toolkit::PostTask([block = copy.driverBlock] { MacroStore::Instance().SaveDriverTempData(block); });
}

bool CDialogMouseHeronDriverSetting::EditKey(KeySlot& slot) {
    assign::KeyEdit_Heron_Driver editor(&Owner(), Config(), slot);
    return editor.RunModal();
}

}  // namespace mouse
