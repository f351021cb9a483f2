#pragma once
// The device calls a key editor makes on the user-interface thread, for a model's record. The
// binding's operations are typed by the record; `RecordKeyEditDevice` binds them to one record so
// the editors and the macro bookkeeping stay model-neutral (and testable with a fake).
#include <cstdint>
#include <span>
#include <string_view>

#include "device/DeviceLibraryBinding.h"

namespace assign {

class KeyEditDevice {
  public:
    virtual ~KeyEditDevice() = default;
    // Rereads the device's macro list into the record.
    virtual bool ReloadMacros() = 0;
    // Writes key `keyIndex` of profile `profile` (both zero-based) from the record.
    virtual bool WriteKey(int profile, int keyIndex) = 0;
    // `index` -1 appends; an empty name with no events deletes macro `index`.
    virtual bool WriteMacro(int index, std::u16string_view name, std::span<const uint8_t> events) = 0;
};

template <FamilyERecord C>
class RecordKeyEditDevice final : public KeyEditDevice {
  public:
    explicit RecordKeyEditDevice(C& record, DeviceLibraryBinding& binding = DeviceLibraryBinding::Instance())
        : record_(record), binding_(binding) {}
    bool ReloadMacros() override { return binding_.ReadMacros(record_); }
    bool WriteKey(int profile, int keyIndex) override {
        return binding_.WriteMacroKey(record_, profile, keyIndex);
    }
    bool WriteMacro(int index, std::u16string_view name, std::span<const uint8_t> events) override {
        return binding_.WriteMacro(C::kModel, index, name, events, static_cast<int>(events.size()));
    }

  private:
    C& record_;
    DeviceLibraryBinding& binding_;
};

}  // namespace assign
