#pragma once
// The Heron's fire-key panel, hosted in its page's fire-macro tab: the seven gun presets of the
// family-E panels over the Heron's ten fire slots, each segment with its shot count, vertical
// movement and offset, delay, colour and stop flag in the Heron's own pattern code. A valid change
// goes into the library's copy of the gun's slots at once (Set calls, not transfers) and then asks
// the page, through `sendFireData`, to send the fire slots to the mouse; an out-of-range value is
// corrected in the field and not stored. The Heron has no keep-left flag.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "assign/FireKeyEdit.h"
#include "assign/FirePattern.h"
#include "records/HeronConfig.h"

namespace assign {

class FireKeyEdit_Heron final : public FireKeyPanel {
  public:
    static constexpr const char* kClassName = "FireKeyEdit_Heron";

    FireKeyEdit_Heron(HeronConfig& config, std::function<bool(uint32_t& argb)> chooseColour,
                      std::function<void()> sendFireData);
    std::string_view GetClass() const override { return kClassName; }

    // After a read while the panel is in view: shows the gun shown (gun 0 when none) from the record.
    void Refresh() { ShowGun(SelectedGun() < 0 ? 0 : SelectedGun()); }
    void ShowGun(int gun) override;
    void StoreGun() override;

  protected:
    std::span<const char* const> EditFields() const override;
    std::span<const char* const> SegmentControls() const override;
    bool CheckField(std::string_view base, int segment) override;
    void OnOtherNotification(ui::Notification& notification) override;

  private:
    HeronConfig& config_;
    std::function<void()> sendFireData_;
    std::array<HeronFirePattern, kSegments> patterns_{};
};

}  // namespace assign
