#pragma once
// The three rapid-fire slots of a family-E page (count, interval and continuous boxes), the fire-key
// presets they are for the key editor, and the slot update that carries a slot's new count and
// interval into the matching fire keys of every profile.
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "mouse/PageNames.h"
#include "records/FamilyEConfig.h"
#include "ui/core/Notification.h"
#include "ui/core/PaintManager.h"

namespace mouse {

class RapidFireEditor {
  public:
    static constexpr int kSlots = 3;
    static constexpr unsigned kMaxCount = 15;  // shown count
    static constexpr unsigned kMaxInterval = 4096;

    // A slot as its boxes hold it when its write starts.
    struct SlotEdit {
        int count = 0;  // stored count: the shown count minus one
        int interval = 0;
        bool continuous = false;
    };

    explicit RapidFireEditor(const PageNames& names) : names_(names) {}

    // Decimal text compared as unsigned, as the boxes read it: "-1" is huge, a text that is not a
    // number is 0.
    static unsigned long long BoxValue(const std::string& text);

    // Fire-key code of preset (slot) 0..2: type 6, the stored count with bit 4 set and bit 7 for the
    // continuous flag the page shows, the interval high byte first.
    static std::array<uint8_t, 4> PresetCode(const FamilyEConfig& c, int slot);
    // A fire-key code was named: the first slot whose count matches its shot count takes its
    // interval and, when that is not 0, its continuous flag; a slot whose interval is 0 lets the
    // search go on.
    static void NoteFireCode(const std::array<uint8_t, 4>& code, FamilyEConfig& c);
    // Rewrites the fire keys of every profile that match slot `slot` (0..2) by its old count and
    // carry a nonzero interval, then stores the edit in the slot. Returns the (profile, key index)
    // pairs rewritten, in the order they are to be written.
    static std::vector<std::pair<int, int>> UpdateSlot(FamilyEConfig& c, int slot, const SlotEdit& edit);

    void Show(ui::PaintManager& manager, FamilyEConfig& c);
    // Handles the slot boxes' notifications; `writeSlot` becomes 1..3 when that slot is to be
    // written. True when `n` was one of them.
    bool Handle(ui::PaintManager& manager, const ui::Notification& n, FamilyEConfig& c, int& writeSlot);
    // What slot 1..3's boxes hold.
    SlotEdit Edited(ui::PaintManager& manager, int slot) const;

  private:
    // "result_fire_count2_Egret" for ("count", 2)
    std::string Box(const char* kind, int slot) const {
        return names_.Numbered(std::string("result_fire_") + kind, slot, "");
    }
    int SlotOf(const ui::Control* sender, const char* kind) const;

    const PageNames& names_;
};

}  // namespace mouse
