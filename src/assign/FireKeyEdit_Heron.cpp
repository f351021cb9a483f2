#include "assign/FireKeyEdit_Heron.h"

#include "device/DeviceLibraryBinding.h"
#include "ui/controls/Option.h"

namespace assign {
namespace {

constexpr const char* kCount = "result_fire_count";
constexpr const char* kY = "result_fire_Y-Axis";
constexpr const char* kOffset = "result_fire_Y-Axis_offset";
constexpr const char* kDelay = "result_fire_delay_times";
constexpr const char* kColour = "result_fire_color";
constexpr const char* kStop = "fire_stop_check_";  // its number follows an underscore
constexpr const char* kEditFields[] = {kCount, kY, kOffset, kDelay};
constexpr const char* kControls[] = {kCount, kY, kOffset, kDelay, kColour, kStop};

}  // namespace

FireKeyEdit_Heron::FireKeyEdit_Heron(HeronConfig& config, std::function<bool(uint32_t& argb)> chooseColour,
                                     std::function<void()> sendFireData)
    : FireKeyPanel("Heron", config.fireMacros, std::move(chooseColour)),
      config_(config),
      sendFireData_(std::move(sendFireData)) {}

std::span<const char* const> FireKeyEdit_Heron::EditFields() const {
    return kEditFields;
}

std::span<const char* const> FireKeyEdit_Heron::SegmentControls() const {
    return kControls;
}

void FireKeyEdit_Heron::ShowGun(int gun) {
    if (gun < 0 || gun >= static_cast<int>(kTenFireSlots.size()) || !GetManager()) return;
    const auto& slots = kTenFireSlots[static_cast<size_t>(gun)];
    ShowSegments(gun, slots);
    for (int s = 0; s < kSegments && slots[static_cast<size_t>(s)] >= 0; ++s) {
        if (!SlotReadable(slots[static_cast<size_t>(s)])) continue;
        const FireMacroEntry& e = config_.fireMacros[static_cast<size_t>(slots[static_cast<size_t>(s)])];
        ShowColour(s, e);
        patterns_[static_cast<size_t>(s)] = HeronFirePattern::Read(e.data);
        const auto found = patterns_[static_cast<size_t>(s)].Found();
        auto text = [](std::optional<int> v) { return v ? std::to_string(*v) : std::string(); };
        SetField(kCount, s, text(found.count));
        SetField(kY, s, text(found.y));
        SetField(kOffset, s, std::to_string(e.xAdjust));
        SetField(kDelay, s, text(found.delayMs));
        if (auto* stop = GetManager()->Find<ui::Option>(Field(kStop, s)))
            stop->SetSelected(found.stop, ui::Notify::No);
    }
}

void FireKeyEdit_Heron::StoreGun() {
    if (!GetManager() || SelectedGun() < 0) return;
    auto& binding = DeviceLibraryBinding::Instance();
    const auto& slots = kTenFireSlots[static_cast<size_t>(SelectedGun())];
    bool stored = false;
    for (int s = 0; s < kSegments && slots[static_cast<size_t>(s)] >= 0; ++s) {
        const int slot = slots[static_cast<size_t>(s)];
        // Writing an unread slot would replace the device's pattern with one nobody has seen.
        if (!SlotReadable(slot)) continue;
        FireMacroEntry& e = config_.fireMacros[static_cast<size_t>(slot)];
        // The offset lives in the entry's first byte, which the panel has no call to write: it stays
        // in the record, where the checks of the vertical movement use it.
        e.xAdjust = static_cast<int8_t>(FieldValue(kOffset, s) & 0xFF);
        TakeColour(s, e);
        const auto* stop = GetManager()->Find<ui::Option>(Field(kStop, s));
        // Fields the pattern lacks stay empty and have no place to go.
        HeronFirePattern::Values values{FieldValue(kCount, s), FieldValue(kY, s), FieldValue(kDelay, s),
                                        stop && stop->IsSelected()};
        patterns_[static_cast<size_t>(s)].Write(e.data, values);
        binding.WriteFireBuffer(config_, slot);  // the library's copy; a refusal is not reported
        stored = true;
    }
    if (stored && sendFireData_) sendFireData_();
}

void FireKeyEdit_Heron::OnOtherNotification(ui::Notification& n) {
    if (n.type != "selectchanged") return;
    // The box has its new state by now (the click came before it changed).
    for (int s = 0; s < kSegments; ++s)
        if (n.sender->NameIs(Field(kStop, s))) return StoreGun();
}

// True when the segment's values may be stored; otherwise the field was corrected.
bool FireKeyEdit_Heron::CheckField(std::string_view base, int s) {
    const int v = FieldValue(base, s);
    auto fix = [&](std::string_view field, int value) {
        SetField(field, s, std::to_string(value));
        return false;
    };
    if (base == kCount) {
        if (v > HeronFirePattern::kMaxCount) return fix(kCount, HeronFirePattern::kMaxCount);
        if (v < 1) return fix(kCount, 1);  // stored as count - 1: 0 would become 255
        return true;
    }
    if (base == kDelay) {
        if (v > HeronFirePattern::kMaxDelayMs) return fix(kDelay, HeronFirePattern::kMaxDelayMs);
        if (v < 0) return fix(kDelay, 0);
        return true;
    }
    // The vertical movement and its offset hold each other to 127 together.
    const int y = FieldValue(kY, s);
    const int offset = FieldValue(kOffset, s);
    if (v > 127) return fix(base, 127);
    if (v < -128) return fix(base, -128);  // would wrap to a positive byte
    if (y + offset > 127) return fix(base, 127 - (base == kY ? offset : y));
    return true;
}

}  // namespace assign
