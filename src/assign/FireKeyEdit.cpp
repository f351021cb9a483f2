#include "assign/FireKeyEdit.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "assign/AssignmentClasses.h"
#include "assign/KeepLeftFlag.h"
#include "platform/Trace.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Option.h"
#include "ui/core/PaintManager.h"

namespace assign {
namespace {

constexpr const char* kCount = "result_fire_gun_count";
constexpr const char* kX = "result_fire_X_Value";
constexpr const char* kXAdjust = "result_fire_X_Adjustment_Value";
constexpr const char* kY = "result_fire_Y_Value";
constexpr const char* kYAdjust = "result_fire_Y_Adjustment_Value";
constexpr const char* kShootTime = "result_fire_shoot_time_Value";
constexpr const char* kColour = "result_fire_color";
constexpr const char* kSegment = "fire_segment";  // the row that holds a segment's controls
constexpr const char* kKeepLeft = "keep_left_check";
constexpr const char* kEditFields[] = {kCount, kX, kXAdjust, kY, kYAdjust, kShootTime};
constexpr const char* kFields[] = {kCount, kX, kXAdjust, kY, kYAdjust, kShootTime, kColour};
constexpr uint32_t kOpaque = 0xFF000000u;

}  // namespace

// --- FireKeyPanel ---

FireKeyPanel::FireKeyPanel(const char* suffix, const std::vector<FireMacroEntry>& entries,
                           ColourChooser chooser)
    : suffix_(suffix), entries_(entries), chooser_(std::move(chooser)) {}

int FireKeyPanel::ParseInt(const std::string& text) {
    long long v = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(
        std::clamp<long long>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void FireKeyPanel::DoInit() {
    if (!GetManager()) return;
    listener_ = GetManager()->AddNotifier(static_cast<ui::NotifyListener*>(this));
    LoadSkin(*GetManager(), "XML/FireKeyEdit_" + std::string(suffix_) + ".xml");
}

std::string FireKeyPanel::Field(std::string_view base, int segment) const {
    return std::string(base) + std::to_string(segment + 1) + "_" + suffix_;
}

std::string FireKeyPanel::FieldText(std::string_view base, int segment) const {
    auto* c = GetManager() ? GetManager()->FindControl(Field(base, segment)) : nullptr;
    return c ? c->GetText() : std::string();
}

void FireKeyPanel::SetField(std::string_view base, int segment, const std::string& text) {
    auto* c = GetManager() ? GetManager()->FindControl(Field(base, segment)) : nullptr;
    if (auto* edit = dynamic_cast<ui::Edit*>(c))
        edit->SetText(text, ui::Notify::No);
    else if (c)
        c->SetText(text);
}

bool FireKeyPanel::SlotReadable(int slot) const {
    return slot >= 0 && static_cast<size_t>(slot) < entries_.size() &&
           entries_[static_cast<size_t>(slot)].read;
}

void FireKeyPanel::ShowGunIfNone() {
    if (selectedGun_ == -1) ShowGun(0);
}

void FireKeyPanel::ShowSegments(int gun, const std::array<int8_t, kSegments>& slots) {
    auto& m = *GetManager();
    selectedGun_ = gun;
    if (auto* button = m.Find<ui::Option>(Name(kFireGunButtons[static_cast<size_t>(gun)])))
        button->SetSelected(true, ui::Notify::No);
    for (int s = 0; s < kSegments; ++s) {
        const int slot = slots[static_cast<size_t>(s)];
        // Whatever the fields of an unread slot held before belongs to another gun.
        const bool readable = SlotReadable(slot);
        if (auto* row = m.FindControl(Field(kSegment, s))) row->SetVisible(slot >= 0);
        for (const char* base : SegmentControls()) {
            auto* c = m.FindControl(Field(base, s));
            if (!c) continue;
            c->SetVisible(slot >= 0);
            c->SetEnabled(readable);
        }
        if (slot >= 0 && !readable)
            for (const char* base : EditFields()) SetField(base, s, "");
    }
}

void FireKeyPanel::ShowColour(int segment, const FireMacroEntry& e) {
    if (auto* box = GetManager()->FindControl(Field(kColour, segment)))
        box->SetBkColor(kOpaque | static_cast<uint32_t>(e.red & 0xFF) << 16 |
                        static_cast<uint32_t>(e.green & 0xFF) << 8 | static_cast<uint32_t>(e.blue & 0xFF));
}

void FireKeyPanel::TakeColour(int segment, FireMacroEntry& e) const {
    if (auto* box = GetManager()->FindControl(Field(kColour, segment))) {
        const uint32_t c = box->GetBkColor();
        e.red = static_cast<int>((c >> 16) & 0xFF), e.green = static_cast<int>((c >> 8) & 0xFF);
        e.blue = static_cast<int>(c & 0xFF);
    }
}

void FireKeyPanel::Notify(ui::Notification& n) {
    if (!n.sender) return;
    if (n.type == "click") {
        for (size_t g = 0; g < kFireGunButtons.size(); ++g) {
            if (!n.sender->NameIs(Name(kFireGunButtons[g]))) continue;
            platform::Trace(n.sender->GetName() + "----" + n.type + ";");
            ShowGun(static_cast<int>(g));
            return;
        }
        for (int s = 0; s < kSegments; ++s)
            if (n.sender->NameIs(Field(kColour, s))) return OnColourClick(s);
    } else if (n.type == "textchanged") {
        OnFieldChanged(*n.sender);
        return;
    }
    OnOtherNotification(n);
}

void FireKeyPanel::OnColourClick(int segment) {
    auto* box = GetManager() ? GetManager()->FindControl(Field(kColour, segment)) : nullptr;
    if (!box || !chooser_ || selectedGun_ < 0) return;
    uint32_t colour = box->GetBkColor() | kOpaque;
    if (!chooser_(colour)) return;
    box->SetBkColor(kOpaque | (colour & 0xFFFFFFu));
    StoreGun();
}

void FireKeyPanel::OnFieldChanged(ui::Control& sender) {
    for (int s = 0; s < kSegments; ++s) {
        for (const char* base : EditFields()) {
            if (!sender.NameIs(Field(base, s))) continue;
            const std::string text = sender.GetText();
            // A field being retyped (emptied, or only a sign so far) is not a value yet.
            if (text.empty() || text == "-" || text == "+") return;
            if (CheckField(base, s)) StoreGun();
            return;
        }
    }
}

// --- FireKeyEdit ---

FireKeyEdit::FireKeyEdit(const FireKeyEditSpec& spec, FamilyEConfig& config, ColourChooser chooser)
    : FireKeyPanel(spec.suffix, config.fireMacros, std::move(chooser)), spec_(spec), config_(config) {}

std::span<const char* const> FireKeyEdit::EditFields() const {
    return kEditFields;
}

std::span<const char* const> FireKeyEdit::SegmentControls() const {
    return kFields;
}

std::string FireKeyEdit::Field(std::string_view base, int segment) const {
    const std::string name(base == kCount ? std::string_view(spec_.countField) : base);
    if (spec_.numberedFields) return FireKeyPanel::Field(name, segment);
    // One segment only: the others name no control.
    return segment == 0 ? Name(name) : std::string();
}

void FireKeyEdit::ShowGun(int gun) {
    if (gun < 0 || gun >= static_cast<int>(Slots().size()) || !GetManager()) return;
    if (auto* keep = GetManager()->Find<ui::Option>(Name(kKeepLeft)))
        keep->SetSelected(KeepLeftFlag(spec_.model) != 0, ui::Notify::No);
    const auto& slots = Slots()[static_cast<size_t>(gun)];
    ShowSegments(gun, slots);
    for (int s = 0; s < kSegments && slots[static_cast<size_t>(s)] >= 0; ++s) {
        if (!SlotReadable(slots[static_cast<size_t>(s)])) continue;
        const FireMacroEntry& e = config_.fireMacros[static_cast<size_t>(slots[static_cast<size_t>(s)])];
        SetField(kXAdjust, s, std::to_string(e.xAdjust));
        SetField(kYAdjust, s, std::to_string(e.yAdjust));
        ShowColour(s, e);
        patterns_[static_cast<size_t>(s)] = FirePattern::Read(e.data);
        const auto found = patterns_[static_cast<size_t>(s)].Found();
        auto text = [](std::optional<int> v) { return v ? std::to_string(*v) : std::string(); };
        SetField(kCount, s, text(found.count));
        SetField(kX, s, text(found.x));
        SetField(kY, s, text(found.y));
        SetField(kShootTime, s, text(found.shootTime));
    }
}

void FireKeyEdit::StoreGun() {
    if (!GetManager()) return;
    if (auto* keep = GetManager()->Find<ui::Option>(Name(kKeepLeft)))
        SetKeepLeftFlag(spec_.model, keep->IsSelected());
    if (SelectedGun() < 0) return;
    const auto& slots = Slots()[static_cast<size_t>(SelectedGun())];
    for (int s = 0; s < kSegments && slots[static_cast<size_t>(s)] >= 0; ++s) {
        const int slot = slots[static_cast<size_t>(s)];
        // Writing an unread slot would replace the device's pattern with one nobody has seen.
        if (!SlotReadable(slot)) continue;
        FireMacroEntry& e = config_.fireMacros[static_cast<size_t>(slot)];
        e.yAdjust = static_cast<int8_t>(FieldValue(kYAdjust, s) & 0xFF);
        e.xAdjust = static_cast<int8_t>(FieldValue(kXAdjust, s) & 0xFF);
        TakeColour(s, e);
        // Fields the pattern lacks stay empty and have no place to go.
        FirePattern::Values values{FieldValue(kCount, s), FieldValue(kX, s), FieldValue(kY, s),
                                   FieldValue(kShootTime, s)};
        patterns_[static_cast<size_t>(s)].Write(e.data, values);
        WriteSlot(slot);  // a failed write is not reported
    }
}

void FireKeyEdit::OnOtherNotification(ui::Notification& n) {
    if (n.type != "selectchanged" || !n.sender->NameIs(Name(kKeepLeft))) return;
    // The key editor reads the flag; it follows the box at once, not only on the next store.
    if (auto* keep = dynamic_cast<ui::Option*>(n.sender)) {
        SetKeepLeftFlag(spec_.model, keep->IsSelected());
        RewriteKeepLeftKeys(keep->IsSelected());
    }
}

void FireKeyEdit::RewriteKeepLeftKeys(bool keepLeft) {
    const int profile = spec_.keepLeftRewritesProfile;
    if (profile < 0 || static_cast<size_t>(profile) >= config_.keyLists.size() || SelectedGun() < 0) return;
    auto& keys = config_.keyLists[static_cast<size_t>(profile)];
    for (size_t k = 0; k < keys.size(); ++k) {
        auto& code = keys[k].code;
        if (code[0] != kFireMacroE || (code[1] & 0x0F) != SelectedGun()) continue;
        code[1] = static_cast<uint8_t>(SelectedGun() + (keepLeft ? 0x10 : 0));
        WriteKey(profile, static_cast<int>(k));  // a failed write is not reported, as for the slots
    }
}

// True when the segment's values may be stored; otherwise the field was corrected.
bool FireKeyEdit::CheckField(std::string_view base, int s) {
    const int v = FieldValue(base, s);
    auto fix = [&](std::string_view field, int value) {
        SetField(field, s, std::to_string(value));
        return false;
    };
    if (base == kCount) {
        if (v > 255) return fix(kCount, 255);
        if (v < 0) return fix(kCount, 0);  // a negative count would be stored as a large one
        return true;
    }
    if (base == kShootTime) {
        if (v < 1) return fix(kShootTime, 1);
        if (v > 65534) return fix(kShootTime, 65534);
        return true;
    }
    const bool isX = base == kX || base == kXAdjust;
    const char* value = isX ? kX : kY;
    const char* adjust = isX ? kXAdjust : kYAdjust;
    const int movement = FieldValue(value, s);
    const int adjustment = FieldValue(adjust, s);
    if (base == value) {
        if (v < -128) return fix(value, -128);
        if (v > 127) return fix(value, 127);
        if (v + adjustment > 127) return fix(value, 127 - adjustment);
        return true;
    }
    if (v > 127) return fix(adjust, 127);
    if (v < -128) return fix(adjust, -128);  // would wrap to a positive byte
    if (movement + v > 127) return fix(adjust, 127 - movement);
    return true;
}

}  // namespace assign
