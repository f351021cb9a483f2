#pragma once
// The macro memory of a Heron or Heron-driver mouse, as the key editor keeps it. A macro's id is its
// address in the device's macro memory plus the model's bias, so the program lays the memory out
// itself: choosing a macro for a key packs the cached macros from address 256 in ascending order of
// their ids, places the chosen one after them unless it is already there, moves every macro key to
// its macro's new id and sends the macros into the library's copy of the mouse. The binding's macro
// cache is the memory's table of contents.
//
// Everything here changes only the library's copy (its Set calls are not transfers), so it runs on
// the user-interface thread; the mouse receives it with the page's next write.
#include <optional>

#include "assign/KeyMacros.h"
#include "device/DeviceLibraryBinding.h"
#include "records/FamilyHConfig.h"

namespace assign {

class HeronMacroMemory final : public KeyMacros {
  public:
    static constexpr int kFirstAddress = 0x100;
    static constexpr int kNameBytes = 32;  // in front of each macro's events
    static constexpr uint8_t kMacroClass = 6;
    static constexpr uint8_t kStopMacroClass = 14;  // a macro whose first data byte is 1 (stop mode)

    struct Constants {
        int idBias;    // id = address + bias
        int capacity;  // a macro fits when its address + its length - 224 is at most this
    };
    static constexpr Constants kHeron{33, 1024};
    static constexpr Constants kHeronDriver{32, 40448};

    // The edited key is key `keyIndex` of profile `profile` (zero-based) of `config`.
    HeronMacroMemory(DeviceModel model, Constants constants, FamilyHConfig& config, int profile, int keyIndex,
                     DeviceLibraryBinding& binding = DeviceLibraryBinding::Instance());

    // Refuses with "%{80}" when the chosen macro does not fit behind the others; then neither a key,
    // nor the cache, nor the library's copy has changed.
    std::optional<Code> Assign(const MacroEntry& macro) override;
    const char* Refusal() const override { return refusal_; }
    void Change(const Code& code) override;
    bool PlaysMacro(const Code& code) const override;

    // Whether a key or the library's macros changed since construction.
    bool Changed() const { return changed_; }

  private:
    struct Use {
        size_t profile, key;
        int id;
    };
    // The keys that play a macro the device holds, fetching each id the cache lacks.
    std::vector<Use> MacroKeys();
    KeySlot* Edited();
    bool IsEdited(const Use& use) const;

    DeviceModel model_;
    Constants constants_;
    FamilyHConfig& config_;
    int profile_;
    int keyIndex_;
    DeviceLibraryBinding& binding_;
    const char* refusal_ = nullptr;
    bool assigned_ = false;  // Assign already let the key's old macro go
    bool changed_ = false;
};

}  // namespace assign
