#include "assign/HeronMacroMemory.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "assign/CaseFold.h"

namespace assign {
namespace {

// The code 6, 0, 0xF0 names a device function (text 97), not a macro at an address.
constexpr uint8_t kReservedHigh = 0x00;
constexpr uint8_t kReservedLow = 0xF0;
// The formula of the capacity check leaves this much beyond the capacity for the last macro.
constexpr int kCapacitySlack = 224;

int MacroId(const KeyMacros::Code& code) {
    return code[1] << 8 | code[2];
}

KeyMacros::Code WithId(KeyMacros::Code code, int id) {
    code[1] = static_cast<uint8_t>((id >> 8) & 0xFF);
    code[2] = static_cast<uint8_t>(id & 0xFF);
    return code;
}

}  // namespace

HeronMacroMemory::HeronMacroMemory(DeviceModel model, Constants constants, FamilyHConfig& config, int profile,
                                   int keyIndex, DeviceLibraryBinding& binding)
    : model_(model),
      constants_(constants),
      config_(config),
      profile_(profile),
      keyIndex_(keyIndex),
      binding_(binding) {}

bool HeronMacroMemory::PlaysMacro(const Code& code) const {
    return (code[0] == kMacroClass || code[0] == kStopMacroClass) &&
           !(code[1] == kReservedHigh && code[2] == kReservedLow);
}

KeySlot* HeronMacroMemory::Edited() {
    return KeyAt(config_.keyLists, profile_, keyIndex_);
}

bool HeronMacroMemory::IsEdited(const Use& use) const {
    return static_cast<int>(use.profile) == profile_ && static_cast<int>(use.key) == keyIndex_;
}

std::vector<HeronMacroMemory::Use> HeronMacroMemory::MacroKeys() {
    std::vector<Use> uses;
    for (size_t p = 0; p < config_.keyLists.size(); ++p) {
        const auto& keys = config_.keyLists[p];
        for (size_t k = 0; k < keys.size(); ++k) {
            if (!PlaysMacro(keys[k].code)) continue;
            // A key whose macro is not cached yet must still move with it, or its old id would point
            // into whatever the new layout puts there.
            const int id = MacroId(keys[k].code);
            if (binding_.CachedMacro(model_, id)) uses.push_back({p, k, id});
        }
    }
    return uses;
}

std::optional<KeyMacros::Code> HeronMacroMemory::Assign(const MacroEntry& chosen) {
    refusal_ = nullptr;
    HeronMacroCache* cache = binding_.MacroCache(model_);
    KeySlot* edited = Edited();
    if (!cache || !edited) return std::nullopt;
    const std::vector<Use> uses = MacroKeys();

    // The key's old macro makes room when the key was its only player and it is not chosen again.
    std::optional<int> leaving;
    if (PlaysMacro(edited->code)) {
        const int id = MacroId(edited->code);
        const auto players =
            std::count_if(uses.begin(), uses.end(), [id](const Use& u) { return u.id == id; });
        const std::optional<MacroEntry> held = cache->Find(id);
        if (held && players == 1 && !SameTextIgnoringCase(held->name, chosen.name)) leaving = id;
    }

    // The new layout, worked out before anything changes: a refusal must leave the memory as it was.
    struct Placed {
        int oldId;  // -1: the chosen macro, new on the device
        int id;
        MacroEntry macro;
    };
    std::vector<Placed> layout;
    std::optional<size_t> chosenAt;
    int address = kFirstAddress;
    for (int id : cache->Ids()) {
        if (id == leaving) continue;
        std::optional<MacroEntry> entry = cache->Find(id);
        if (!entry) continue;
        if (!chosenAt && SameTextIgnoringCase(entry->name, chosen.name)) chosenAt = layout.size();
        const int length = static_cast<int>(entry->data.size());
        layout.push_back({id, address + constants_.idBias, std::move(*entry)});
        address += length + kNameBytes;
    }
    if (!chosenAt) {
        if (address + static_cast<int>(chosen.data.size()) - kCapacitySlack > constants_.capacity) {
            refusal_ = "%{80}";
            return std::nullopt;
        }
        chosenAt = layout.size();
        layout.push_back({-1, address + constants_.idBias, chosen});
    }

    // Confirming a macro that already sits where the layout puts it moves nothing.
    const bool moves =
        leaving || std::any_of(layout.begin(), layout.end(), [](const Placed& p) { return p.oldId != p.id; });
    if (moves) {
        cache->Clear();
        for (const Placed& p : layout) cache->Put(p.id, p.macro);
        for (const Use& use : uses) {
            if (IsEdited(use)) continue;  // the edited key takes its code from Change
            const auto it = std::find_if(layout.begin(), layout.end(),
                                         [&use](const Placed& p) { return p.oldId == use.id; });
            if (it == layout.end()) continue;
            KeySlot& slot = config_.keyLists[use.profile][use.key];
            const Code moved = WithId(slot.code, it->id);
            if (moved == slot.code) continue;
            slot.code = moved;
            binding_.WriteKeyH(model_, config_, static_cast<int>(use.profile), static_cast<int>(use.key));
        }
        binding_.WriteCachedMacros(model_);
        changed_ = true;
    }
    assigned_ = true;
    const Placed& placed = layout[*chosenAt];
    const bool stops = !placed.macro.data.empty() && placed.macro.data[0] == 1;
    return WithId(Code{stops ? kStopMacroClass : kMacroClass, 0, 0, 0}, placed.id);
}

void HeronMacroMemory::Change(const Code& code) {
    KeySlot* edited = Edited();
    if (!edited || edited->code == code) return;
    const Code old = edited->code;
    edited->code = code;
    changed_ = true;
    if (assigned_ || !PlaysMacro(old)) return;
    // Releasing the key's old macro: it goes when no other key plays it.
    const int id = MacroId(old);
    HeronMacroCache* cache = binding_.MacroCache(model_);
    if (!cache || !cache->Find(id)) return;
    for (const auto& keys : config_.keyLists)
        for (const KeySlot& slot : keys)
            if (PlaysMacro(slot.code) && MacroId(slot.code) == id) return;
    cache->Remove(id);
    binding_.WriteCachedMacros(model_);
}

}  // namespace assign
