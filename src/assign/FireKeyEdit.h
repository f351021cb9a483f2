#pragma once
// The fire-key panels, hosted in a page's fire-macro tab. The family-E panel: seven gun presets,
// each shown as one to three segments of the device's fire-macro table (shot count, movement,
// adjustments, shoot time, colour). Every valid change of a field is written to the gun's slots at
// once; an out-of-range value is corrected in the field and not stored. The panel also keeps the
// model's keep-left flag that the key editor puts into fire-macro codes.
//
// One class serves every model: the model's names and its slot layouts come as data
// (`FireKeyEditSpec`), the record's type and its device write from `ModelFireKeyEdit` below.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "assign/FirePattern.h"
#include "device/DeviceLibraryBinding.h"
#include "records/DeviceModel.h"
#include "records/FamilyEConfig.h"
#include "ui/core/PaintManager.h"
#include "ui/layout/SkinPage.h"

namespace assign {

// Slots of each gun's segments, in segment order; -1 ends a gun's list.
using GunSlots = std::array<std::array<int8_t, 3>, 7>;

// The gun presets' buttons (without the model suffix), in gun order.
inline constexpr std::array<const char*, 7> kFireGunButtons{
    "gun_AKM", "gun_M16", "gun_M4", "gun_UMP9", "gun_SCAR-L", "gun_556mm_Fire", "gun_762mm_Fire"};
// Ten fire-macro slots: the 5.56 mm preset spans slots 5 and 6, the 7.62 mm preset slots 7 to 9.
inline constexpr GunSlots kTenFireSlots{
    {{0, -1, -1}, {1, -1, -1}, {2, -1, -1}, {3, -1, -1}, {4, -1, -1}, {5, 6, -1}, {7, 8, 9}}};

struct FireKeyEditSpec {
    DeviceModel model;
    const char* className;                  // "FireKeyEdit_Egret"
    const char* suffix;                     // "Egret"
    std::array<const char*, 7> gunButtons;  // without the suffix, in gun order
    GunSlots kindZeroSlots;                 // device kind 0, or a model without variants
    GunSlots otherKindSlots;                // every other device kind
    // Segment fields carry their number before the suffix ("result_fire_X_Value1_Egret"); a panel
    // of one segment may name them without ("result_fire_X_Value_Crane").
    bool numberedFields = true;
    const char* countField = "result_fire_gun_count";  // the shot count's base name
    // Ticking or clearing the keep-left box also rewrites the keep-left bit of this profile's
    // (zero-based) fire-macro keys of the shown gun and writes them; -1: it rewrites no key.
    int keepLeftRewritesProfile = -1;
};

// What every fire-key panel shares: the seven gun buttons, the gun shown and its segments, each
// segment's fields found by name, its colour box with the colour dialog, and the guard that lets a
// half-typed value wait. A model's panel supplies its fields, their checks, what it shows and how it
// stores.
class FireKeyPanel : public ui::SkinPage, public ui::NotifyListener {
  public:
    static constexpr int kSegments = 3;
    // Opens the colour dialog with `argb`; true (and `argb` changed) when the user confirmed.
    using ColourChooser = std::function<bool(uint32_t& argb)>;

    void DoInit() override;
    void Notify(ui::Notification& notification) override;

    // Shows gun 0 when none is shown yet (the page calls it whenever the tab opens).
    void ShowGunIfNone();
    // After a connection read: the next opening shows fresh data.
    void ResetSelection() { selectedGun_ = -1; }
    virtual void ShowGun(int gun) = 0;
    virtual void StoreGun() = 0;
    int SelectedGun() const { return selectedGun_; }

  protected:
    // `entries` is the model's fire-macro list, indexed by device slot.
    FireKeyPanel(const char* suffix, const std::vector<FireMacroEntry>& entries, ColourChooser chooser);

    // The control of field `base` of segment `segment` (zero-based); empty when there is none.
    virtual std::string Field(std::string_view base, int segment) const;
    // The segment's edit fields, checked on every change, and all of its controls.
    virtual std::span<const char* const> EditFields() const = 0;
    virtual std::span<const char* const> SegmentControls() const = 0;
    // True when the segment's values may be stored; otherwise the field was corrected.
    virtual bool CheckField(std::string_view base, int segment) = 0;
    // Notifications the shared part does not handle.
    virtual void OnOtherNotification(ui::Notification& notification) {}

    std::string Name(std::string_view base) const { return std::string(base) + "_" + suffix_; }
    // The slot was read from the device, so the record holds its pattern.
    bool SlotReadable(int slot) const;
    std::string FieldText(std::string_view base, int segment) const;
    int FieldValue(std::string_view base, int segment) const { return ParseInt(FieldText(base, segment)); }
    void SetField(std::string_view base, int segment, const std::string& text);
    // Marks gun `gun` shown and its button selected, and shows the segments of `slots`: a slot the
    // device did not deliver shows empty, disabled fields, as there is nothing to edit.
    void ShowSegments(int gun, const std::array<int8_t, kSegments>& slots);
    void ShowColour(int segment, const FireMacroEntry& entry);
    void TakeColour(int segment, FireMacroEntry& entry) const;
    // The standard conversion: leading blanks and a sign, digits up to the first other character, no
    // digits give 0; saturated to 32 bits.
    static int ParseInt(const std::string& text);

  private:
    void OnFieldChanged(ui::Control& sender);
    void OnColourClick(int segment);

    const char* suffix_;
    const std::vector<FireMacroEntry>& entries_;
    ColourChooser chooser_;
    ui::ListenerHandle listener_;
    int selectedGun_ = -1;
};

// The family-E panel (Egret, Ibis, Crane): shot count, movement, adjustments, shoot time and colour
// per segment, and the keep-left flag.
class FireKeyEdit : public FireKeyPanel {
  public:
    FireKeyEdit(const FireKeyEditSpec& spec, FamilyEConfig& config, ColourChooser chooser);
    std::string_view GetClass() const override { return spec_.className; }

    void ShowGun(int gun) override;
    void StoreGun() override;

  protected:
    // The slots of each gun as the connected variant lays them out.
    virtual const GunSlots& Slots() const = 0;
    // Writes fire-macro slot `slot` of the record to the device.
    virtual bool WriteSlot(int slot) = 0;
    // Writes key `keyIndex` of `profile` (both zero-based) of the record to the device.
    virtual bool WriteKey(int profile, int keyIndex) = 0;
    FamilyEConfig& Config() { return config_; }
    const FireKeyEditSpec& Spec() const { return spec_; }

    std::string Field(std::string_view base, int segment) const override;
    std::span<const char* const> EditFields() const override;
    std::span<const char* const> SegmentControls() const override;
    bool CheckField(std::string_view base, int segment) override;
    void OnOtherNotification(ui::Notification& notification) override;

  private:
    void RewriteKeepLeftKeys(bool keepLeft);

    const FireKeyEditSpec& spec_;
    FamilyEConfig& config_;
    std::array<FirePattern, kSegments> patterns_{};
};

// The model's row, or null for a model without a fire-key panel.
const FireKeyEditSpec* FindFireKeyEditSpec(DeviceModel model);

// The panel over a model's record: the device kind picks the slot layout, and the record's own type
// makes the write.
template <class Record>
class ModelFireKeyEdit final : public FireKeyEdit {
  public:
    // Only for a model that has a row.
    ModelFireKeyEdit(Record& record, ColourChooser chooser)
        : FireKeyEdit(*FindFireKeyEditSpec(Record::kModel), record, std::move(chooser)), record_(record) {}

  protected:
    const GunSlots& Slots() const override {
        if constexpr (requires { record_.deviceKind; })
            if (record_.deviceKind != 0) return Spec().otherKindSlots;
        return Spec().kindZeroSlots;
    }
    bool WriteSlot(int slot) override {
        return DeviceLibraryBinding::Instance().WriteFireMacro(record_, slot);
    }
    bool WriteKey(int profile, int keyIndex) override {
        return DeviceLibraryBinding::Instance().WriteMacroKey(record_, profile, keyIndex);
    }

  private:
    Record& record_;
};

}  // namespace assign
