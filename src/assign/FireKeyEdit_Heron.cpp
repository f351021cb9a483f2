#include "assign/FireKeyEdit_Heron.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "device/DeviceLibraryBinding.h"
#include "platform/Trace.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Option.h"

namespace assign {
namespace {

constexpr const char* kSuffix = "_Heron";
constexpr const char* kCount = "result_fire_count";
constexpr const char* kY = "result_fire_Y-Axis";
constexpr const char* kOffset = "result_fire_Y-Axis_offset";
constexpr const char* kDelay = "result_fire_delay_times";
constexpr const char* kColour = "result_fire_color";
constexpr const char* kStop = "fire_stop_check_";  // its number follows an underscore
constexpr const char* kSegment = "fire_segment";   // the row that holds a segment's controls
constexpr const char* kEdits[] = {kCount, kY, kOffset, kDelay};
constexpr uint32_t kOpaque = 0xFF000000u;

// The standard conversion: leading blanks and a sign, digits up to the first other character, no
// digits give 0; saturated to 32 bits.
int ParseInt(const std::string& text) {
    long long v = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(
        std::clamp<long long>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

}  // namespace

FireKeyEdit_Heron::FireKeyEdit_Heron(HeronConfig& config, std::function<bool(uint32_t& argb)> chooseColour,
                                     std::function<void()> sendFireData)
    : config_(config), chooseColour_(std::move(chooseColour)), sendFireData_(std::move(sendFireData)) {}

void FireKeyEdit_Heron::DoInit() {
    if (!GetManager()) return;
    listener_ = GetManager()->AddNotifier(static_cast<ui::NotifyListener*>(this));
    LoadSkin(*GetManager(), "XML/FireKeyEdit_Heron.xml");
}

std::string FireKeyEdit_Heron::Field(std::string_view base, int segment) const {
    return std::string(base) + std::to_string(segment + 1) + kSuffix;
}

std::string FireKeyEdit_Heron::FieldText(std::string_view base, int segment) const {
    auto* c = GetManager() ? GetManager()->FindControl(Field(base, segment)) : nullptr;
    return c ? c->GetText() : std::string();
}

void FireKeyEdit_Heron::SetField(std::string_view base, int segment, const std::string& text) {
    auto* c = GetManager() ? GetManager()->FindControl(Field(base, segment)) : nullptr;
    if (auto* edit = dynamic_cast<ui::Edit*>(c))
        edit->SetText(text, ui::Notify::No);
    else if (c)
        c->SetText(text);
}

bool FireKeyEdit_Heron::SlotReadable(int slot) const {
    return slot >= 0 && static_cast<size_t>(slot) < config_.fireMacros.size() &&
           config_.fireMacros[static_cast<size_t>(slot)].read;
}

void FireKeyEdit_Heron::ShowGunIfNone() {
    if (selectedGun_ == -1) ShowGun(0);
}

void FireKeyEdit_Heron::ShowGun(int gun) {
    if (gun < 0 || gun >= static_cast<int>(kTenFireSlots.size()) || !GetManager()) return;
    auto& m = *GetManager();
    selectedGun_ = gun;
    if (auto* button = m.Find<ui::Option>(kFireGunButtons[static_cast<size_t>(gun)] + std::string(kSuffix)))
        button->SetSelected(true, ui::Notify::No);
    const auto& slots = kTenFireSlots[static_cast<size_t>(gun)];
    for (int s = 0; s < kSegments; ++s) {
        const int slot = slots[static_cast<size_t>(s)];
        // A slot the device did not deliver shows empty, disabled fields: there is nothing to edit.
        const bool readable = SlotReadable(slot);
        if (auto* row = m.FindControl(Field(kSegment, s))) row->SetVisible(slot >= 0);
        for (const char* base : {kCount, kY, kOffset, kDelay, kColour, kStop}) {
            auto* c = m.FindControl(Field(base, s));
            if (!c) continue;
            c->SetVisible(slot >= 0);
            c->SetEnabled(readable);
        }
        if (!readable) {
            for (const char* base : kEdits) SetField(base, s, "");
            continue;
        }
        const FireMacroEntry& e = config_.fireMacros[static_cast<size_t>(slot)];
        if (auto* box = m.FindControl(Field(kColour, s)))
            box->SetBkColor(kOpaque | static_cast<uint32_t>(e.red & 0xFF) << 16 |
                            static_cast<uint32_t>(e.green & 0xFF) << 8 |
                            static_cast<uint32_t>(e.blue & 0xFF));
        patterns_[static_cast<size_t>(s)] = HeronFirePattern::Read(e.data);
        const auto found = patterns_[static_cast<size_t>(s)].Found();
        auto text = [](std::optional<int> v) { return v ? std::to_string(*v) : std::string(); };
        SetField(kCount, s, text(found.count));
        SetField(kY, s, text(found.y));
        SetField(kOffset, s, std::to_string(e.xAdjust));
        SetField(kDelay, s, text(found.delayMs));
        if (auto* stop = m.Find<ui::Option>(Field(kStop, s))) stop->SetSelected(found.stop, ui::Notify::No);
    }
}

void FireKeyEdit_Heron::StoreGun() {
    if (!GetManager() || selectedGun_ < 0) return;
    auto& binding = DeviceLibraryBinding::Instance();
    const auto& slots = kTenFireSlots[static_cast<size_t>(selectedGun_)];
    bool stored = false;
    for (int s = 0; s < kSegments && slots[static_cast<size_t>(s)] >= 0; ++s) {
        const int slot = slots[static_cast<size_t>(s)];
        // Writing an unread slot would replace the device's pattern with one nobody has seen.
        if (!SlotReadable(slot)) continue;
        FireMacroEntry& e = config_.fireMacros[static_cast<size_t>(slot)];
        // The offset lives in the entry's first byte, which the panel has no call to write: it stays
        // in the record, where the checks of the vertical movement use it.
        e.xAdjust = static_cast<int8_t>(ParseInt(FieldText(kOffset, s)) & 0xFF);
        if (auto* box = GetManager()->FindControl(Field(kColour, s))) {
            const uint32_t c = box->GetBkColor();
            e.red = static_cast<int>((c >> 16) & 0xFF), e.green = static_cast<int>((c >> 8) & 0xFF);
            e.blue = static_cast<int>(c & 0xFF);
        }
        auto* stop = GetManager()->Find<ui::Option>(Field(kStop, s));
        // Fields the pattern lacks stay empty and have no place to go.
        HeronFirePattern::Values values{ParseInt(FieldText(kCount, s)), ParseInt(FieldText(kY, s)),
                                        ParseInt(FieldText(kDelay, s)), stop && stop->IsSelected()};
        patterns_[static_cast<size_t>(s)].Write(e.data, values);
        binding.WriteFireBuffer(config_, slot);  // the library's copy; a refusal is not reported
        stored = true;
    }
    if (stored && sendFireData_) sendFireData_();
}

void FireKeyEdit_Heron::Notify(ui::Notification& n) {
    if (!n.sender) return;
    if (n.type == "click") {
        for (size_t g = 0; g < kFireGunButtons.size(); ++g) {
            if (!n.sender->NameIs(kFireGunButtons[g] + std::string(kSuffix))) continue;
            platform::Trace(n.sender->GetName() + "----" + n.type + ";");
            ShowGun(static_cast<int>(g));
            return;
        }
        for (int s = 0; s < kSegments; ++s)
            if (n.sender->NameIs(Field(kColour, s))) return OnColourClick(s);
    } else if (n.type == "selectchanged") {
        // The box has its new state by now (the click came before it changed).
        for (int s = 0; s < kSegments; ++s)
            if (n.sender->NameIs(Field(kStop, s))) return StoreGun();
    } else if (n.type == "textchanged") {
        OnFieldChanged(*n.sender);
    }
}

void FireKeyEdit_Heron::OnColourClick(int segment) {
    auto* box = GetManager() ? GetManager()->FindControl(Field(kColour, segment)) : nullptr;
    if (!box || !chooseColour_ || selectedGun_ < 0) return;
    uint32_t colour = box->GetBkColor() | kOpaque;
    if (!chooseColour_(colour)) return;
    box->SetBkColor(kOpaque | (colour & 0xFFFFFFu));
    StoreGun();
}

void FireKeyEdit_Heron::OnFieldChanged(ui::Control& sender) {
    for (int s = 0; s < kSegments; ++s) {
        for (const char* base : kEdits) {
            if (!sender.NameIs(Field(base, s))) continue;
            const std::string text = sender.GetText();
            // A field being retyped (emptied, or only a sign so far) is not a value yet.
            if (text.empty() || text == "-" || text == "+") return;
            if (CheckField(base, s)) StoreGun();
            return;
        }
    }
}

// True when the segment's values may be stored; otherwise the field was corrected.
bool FireKeyEdit_Heron::CheckField(std::string_view base, int s) {
    const int v = ParseInt(FieldText(base, s));
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
    const int y = ParseInt(FieldText(kY, s));
    const int offset = ParseInt(FieldText(kOffset, s));
    if (v > 127) return fix(base, 127);
    if (v < -128) return fix(base, -128);  // would wrap to a positive byte
    if (y + offset > 127) return fix(base, 127 - (base == kY ? offset : y));
    return true;
}

}  // namespace assign
