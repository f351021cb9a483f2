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
#include "ui/core/PaintManager.h"
#include "ui/layout/SkinPage.h"

namespace assign {

class FireKeyEdit_Heron : public ui::SkinPage, public ui::NotifyListener {
  public:
    static constexpr int kSegments = 3;
    static constexpr const char* kClassName = "FireKeyEdit_Heron";

    FireKeyEdit_Heron(HeronConfig& config, std::function<bool(uint32_t& argb)> chooseColour,
                      std::function<void()> sendFireData);
    std::string_view GetClass() const override { return kClassName; }
    void DoInit() override;
    void Notify(ui::Notification& notification) override;

    // Shows gun 0 when none is shown yet (the page calls it whenever the tab opens).
    void ShowGunIfNone();
    // After a connection read: the next opening shows fresh data.
    void ResetSelection() { selectedGun_ = -1; }
    // After a read while the panel is in view: shows the gun shown (gun 0 when none) from the record.
    void Refresh() { ShowGun(selectedGun_ < 0 ? 0 : selectedGun_); }
    void ShowGun(int gun);
    void StoreGun();
    int SelectedGun() const { return selectedGun_; }

  private:
    std::string Field(std::string_view base, int segment) const;
    bool SlotReadable(int slot) const;
    std::string FieldText(std::string_view base, int segment) const;
    void SetField(std::string_view base, int segment, const std::string& text);
    void OnFieldChanged(ui::Control& sender);
    bool CheckField(std::string_view base, int segment);
    void OnColourClick(int segment);

    HeronConfig& config_;
    std::function<bool(uint32_t&)> chooseColour_;
    std::function<void()> sendFireData_;
    ui::ListenerHandle listener_;
    int selectedGun_ = -1;
    std::array<HeronFirePattern, kSegments> patterns_{};
};

}  // namespace assign
