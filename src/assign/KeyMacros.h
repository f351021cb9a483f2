#pragma once
// The macro side of a key editor: what it takes to make the edited key play a macro, and to give the
// key a new code without leaving a macro behind that no key plays. Family E downloads into a device
// that numbers its macros itself (`DeviceMacroSync`); family H lays out the device's macro memory
// itself (`HeronMacroMemory`).
#include <array>
#include <cstdint>
#include <optional>

#include "records/MacroEntry.h"

namespace assign {

class KeyMacros {
  public:
    using Code = std::array<uint8_t, 4>;

    virtual ~KeyMacros() = default;
    // The code that plays `macro`, putting it on the device first when needed; none when that failed,
    // and then nothing has changed.
    virtual std::optional<Code> Assign(const MacroEntry& macro) = 0;
    // After a failed Assign: the text reference that tells the user why, or null for a silent failure.
    virtual const char* Refusal() const { return nullptr; }
    // Gives the edited key `code` in the record; the key's old macro goes when no other key plays it.
    virtual void Change(const Code& code) = 0;
    // Classes of the codes that play a macro.
    virtual bool PlaysMacro(const Code& code) const = 0;
};

}  // namespace assign
