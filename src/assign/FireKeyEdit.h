#pragma once
// The fire-key panel of the family-E mice, hosted in a page's fire-macro tab: seven gun presets,
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
#include <string>
#include <string_view>

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

class FireKeyEdit : public ui::SkinPage, public ui::NotifyListener {
  public:
    static constexpr int kSegments = 3;
    // Opens the colour dialog with `argb`; true (and `argb` changed) when the user confirmed.
    using ColourChooser = std::function<bool(uint32_t& argb)>;

    FireKeyEdit(const FireKeyEditSpec& spec, FamilyEConfig& config, ColourChooser chooser);
    std::string_view GetClass() const override { return spec_.className; }
    void DoInit() override;
    void Notify(ui::Notification& notification) override;

    // Shows gun 0 when none is shown yet (the page calls it whenever the tab opens).
    void ShowGunIfNone();
    // After a connection read: the next opening shows fresh data.
    void ResetSelection() { selectedGun_ = -1; }
    void ShowGun(int gun);
    void StoreGun();
    int SelectedGun() const { return selectedGun_; }

  protected:
    // The slots of each gun as the connected variant lays them out.
    virtual const GunSlots& Slots() const = 0;
    // Writes fire-macro slot `slot` of the record to the device.
    virtual bool WriteSlot(int slot) = 0;
    // Writes key `keyIndex` of `profile` (both zero-based) of the record to the device.
    virtual bool WriteKey(int profile, int keyIndex) = 0;
    FamilyEConfig& Config() { return config_; }
    const FireKeyEditSpec& Spec() const { return spec_; }

  private:
    std::string Field(std::string_view base, int segment) const;
    std::string Name(std::string_view base) const { return std::string(base) + "_" + spec_.suffix; }
    // The slot was read from the device, so the record holds its pattern.
    bool SlotReadable(int slot) const;
    std::string FieldText(std::string_view base, int segment) const;
    void SetField(std::string_view base, int segment, const std::string& text);
    void OnFieldChanged(ui::Control& sender);
    bool CheckField(std::string_view base, int segment);
    void OnColourClick(int segment);
    void RewriteKeepLeftKeys(bool keepLeft);

    const FireKeyEditSpec& spec_;
    FamilyEConfig& config_;
    ColourChooser chooser_;
    ui::ListenerHandle listener_;
    int selectedGun_ = -1;
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
