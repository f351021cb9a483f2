#pragma once
// What a key editor needs of a model's record: the key lists of its profiles, the current profile,
// the macro view the page shows and the labels of the model's codes. The editor reads these through
// the view each time (a connection read may replace the record's lists while the editor is open),
// so one editor serves four-byte and three-byte models alike.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "assign/AssignmentClasses.h"
#include "assign/AssignmentLabel.h"
#include "records/FamilyEConfig.h"
#include "records/FamilyHConfig.h"
#include "records/KeySlot.h"

namespace assign {

class KeyEditRecord {
  public:
    using Code = std::array<uint8_t, 4>;

    virtual ~KeyEditRecord() = default;
    virtual std::span<std::vector<KeySlot>> KeyLists() = 0;
    virtual int CurrentProfile() const = 0;
    virtual bool MacroUsesFolders() const = 0;
    // The page shows its fire keys (the fire-macro category follows it on the reserved profile).
    virtual bool FireMacroVisible() const { return true; }
    // The label of `code`, as the model's pages show it.
    virtual std::string Label(const Code& code) = 0;
    // The code of rapid-fire preset `preset` (0 to 2); none on a model without presets.
    virtual std::optional<Code> FireKeyCode(size_t preset) const { return std::nullopt; }
};

// A family-E record: four-byte codes, labels with their side effects on the fire-key presets.
class FamilyEKeyEditRecord final : public KeyEditRecord {
  public:
    FamilyEKeyEditRecord(DeviceModel model, FamilyEConfig& record) : model_(model), record_(record) {}
    std::span<std::vector<KeySlot>> KeyLists() override { return record_.keyLists; }
    int CurrentProfile() const override { return record_.currentProfile; }
    bool MacroUsesFolders() const override { return record_.macroUsesFolders != 0; }
    bool FireMacroVisible() const override { return record_.fireMacroVisible != 0; }
    std::string Label(const Code& c) override {
        return AssignmentLabel(model_, record_, c[0], c[1], c[2], c[3]);
    }
    std::optional<Code> FireKeyCode(size_t preset) const override {
        const RapidFireSlot& fire = record_.rapidFire[preset];
        uint8_t b1 = static_cast<uint8_t>((fire.count & 0xFF) | 0x10);
        b1 = record_.continuousShown[preset] ? (b1 | 0x80) : (b1 & 0x7F);
        return Code{kFireKeyE, b1, static_cast<uint8_t>((fire.interval >> 8) & 0xFF),
                    static_cast<uint8_t>(fire.interval & 0xFF)};
    }

  private:
    DeviceModel model_;
    FamilyEConfig& record_;
};

// A family-H record: three-byte codes, macro names from the binding's macro cache.
class FamilyHKeyEditRecord final : public KeyEditRecord {
  public:
    FamilyHKeyEditRecord(DeviceModel model, FamilyHConfig& record,
                         DeviceLibraryBinding& binding = DeviceLibraryBinding::Instance())
        : model_(model), record_(record), binding_(binding) {}
    std::span<std::vector<KeySlot>> KeyLists() override { return record_.keyLists; }
    int CurrentProfile() const override { return record_.currentProfile; }
    bool MacroUsesFolders() const override { return record_.macroUsesFolders != 0; }
    std::string Label(const Code& c) override { return AssignmentLabel(model_, c[0], c[1], c[2], binding_); }

  private:
    DeviceModel model_;
    FamilyHConfig& record_;
    DeviceLibraryBinding& binding_;
};

}  // namespace assign
