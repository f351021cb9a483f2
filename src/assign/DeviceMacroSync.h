#pragma once
// Keeps a family-E device's macro memory and the keys that play its macros in step while a key editor
// changes one key: downloads a newly chosen macro unless the device already holds one of that name,
// releases the key's old macro only after the key has left it and no other key plays it, and after
// the device renumbered its macros rewrites the other keys' macro ids. A change to the code the key
// already has touches nothing.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "assign/KeyEditDevice.h"
#include "assign/KeyMacros.h"
#include "records/FamilyEConfig.h"

namespace assign {

class DeviceMacroSync final : public KeyMacros {
  public:
    static constexpr uint8_t kMacroClass = 0x10;

    // The edited key is key `keyIndex` of profile `profile`; `config.macros` is taken as the ids the
    // keys know now.
    DeviceMacroSync(FamilyEConfig& config, KeyEditDevice& device, int profile, int keyIndex);

    // The code that plays `macro`, downloading it first when the device lacks it; none when the
    // download failed, and then nothing has changed.
    std::optional<Code> Assign(const MacroEntry& macro) override;
    // Gives the edited key `code` in the record (the page writes the key). When that is a change and
    // the key was the only one playing a device macro, the macro is deleted and the keys follow the
    // renumbering; a failed delete leaves the macro on the device.
    void Change(const Code& code) override;
    bool PlaysMacro(const Code& code) const override { return code[0] == kMacroClass; }

    // Names compare by Unicode case folding.
    static bool SameName(std::u16string_view a, std::u16string_view b);

  private:
    KeySlot* Edited();
    bool IsEdited(size_t profile, size_t key) const;
    void Release(const Code& old);
    void RemapKeys();

    FamilyEConfig& config_;
    KeyEditDevice& device_;
    int profile_;
    int keyIndex_;
    MacroList known_;  // the macros as the keys' ids refer to them
};

}  // namespace assign
