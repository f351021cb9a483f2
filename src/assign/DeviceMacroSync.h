#pragma once
// Keeps a family-E device's macro memory and the keys that play its macros in step while a key editor
// changes one key: releases the key's old macro when no other key plays it, downloads a newly chosen
// macro unless the device already holds one of that name, and after the device renumbered its
// macros rewrites the other keys' macro ids.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "assign/KeyEditDevice.h"
#include "records/FamilyEConfig.h"

namespace assign {

class DeviceMacroSync {
  public:
    static constexpr uint8_t kMacroClass = 0x10;

    // The edited key is key `keyIndex` of profile `profile`; `config.macros` is taken as the ids the
    // keys know now.
    DeviceMacroSync(FamilyEConfig& config, KeyEditDevice& device, int profile, int keyIndex);

    // Deletes the macro the edited key plays when no other key of any profile plays it.
    void ReleaseOld();
    // The code that plays `macro`, downloading it first when the device lacks it; none when the
    // download failed.
    std::optional<std::array<uint8_t, 4>> Assign(const MacroEntry& macro);

    // Names compare without regard to case.
    static bool SameName(std::u16string_view a, std::u16string_view b);

  private:
    const KeySlot* Edited() const;
    bool IsEdited(size_t profile, size_t key) const;
    void RemapOtherKeys();

    FamilyEConfig& config_;
    KeyEditDevice& device_;
    int profile_;
    int keyIndex_;
    MacroList known_;  // the macros as the keys' ids refer to them
};

}  // namespace assign
