#include "assign/DeviceMacroSync.h"

#include "assign/CaseFold.h"

namespace assign {
namespace {

int MacroId(const DeviceMacroSync::Code& code) {
    return code[1] << 8 | code[2];
}

const MacroEntry* ById(const MacroList& list, int id) {
    for (const auto& entry : list)
        if (entry->id == id) return entry.get();
    return nullptr;
}

const MacroEntry* ByName(const MacroList& list, std::u16string_view name) {
    for (const auto& entry : list)
        if (DeviceMacroSync::SameName(entry->name, name)) return entry.get();
    return nullptr;
}

DeviceMacroSync::Code MacroCode(int id) {
    return {DeviceMacroSync::kMacroClass, static_cast<uint8_t>((id >> 8) & 0xFF),
            static_cast<uint8_t>(id & 0xFF), 0};
}

}  // namespace

DeviceMacroSync::DeviceMacroSync(FamilyEConfig& config, KeyEditDevice& device, int profile, int keyIndex)
    : config_(config), device_(device), profile_(profile), keyIndex_(keyIndex), known_(config.macros) {}

bool DeviceMacroSync::SameName(std::u16string_view a, std::u16string_view b) {
    return SameTextIgnoringCase(a, b);
}

KeySlot* DeviceMacroSync::Edited() {
    return KeyAt(config_.keyLists, profile_, keyIndex_);
}

bool DeviceMacroSync::IsEdited(size_t profile, size_t key) const {
    return static_cast<int>(profile) == profile_ && static_cast<int>(key) == keyIndex_;
}

std::optional<DeviceMacroSync::Code> DeviceMacroSync::Assign(const MacroEntry& macro) {
    if (const MacroEntry* held = ByName(config_.macros, macro.name)) return MacroCode(held->id);
    // The key's old macro stays until the new one is safely on the device.
    if (!device_.WriteMacro(-1, macro.name, macro.data)) return std::nullopt;
    device_.ReloadMacros();
    if (config_.macros.empty()) return std::nullopt;
    const int id = config_.macros[config_.macros.size() - 1].id;
    RemapKeys();
    return MacroCode(id);
}

void DeviceMacroSync::Change(const Code& code) {
    KeySlot* edited = Edited();
    if (!edited || edited->code == code) return;
    const Code old = edited->code;
    edited->code = code;
    Release(old);
}

void DeviceMacroSync::Release(const Code& old) {
    if (!PlaysMacro(old)) return;
    const int id = MacroId(old);
    size_t index = 0;
    for (; index < config_.macros.size(); ++index)
        if (config_.macros[index].id == id) break;
    if (index == config_.macros.size()) return;
    for (const auto& keys : config_.keyLists)
        for (const KeySlot& slot : keys)
            if (PlaysMacro(slot.code) && MacroId(slot.code) == id) return;  // still played
    if (!device_.WriteMacro(static_cast<int>(index), u"", {})) return;
    device_.ReloadMacros();
    RemapKeys();
}

// After the device renumbered its macros. The edited key follows in the record only: the page writes
// it once the editor has closed.
void DeviceMacroSync::RemapKeys() {
    for (size_t p = 0; p < config_.keyLists.size(); ++p) {
        auto& keys = config_.keyLists[p];
        for (size_t k = 0; k < keys.size(); ++k) {
            KeySlot& slot = keys[k];
            if (!PlaysMacro(slot.code)) continue;
            const MacroEntry* old = ById(known_, MacroId(slot.code));
            if (!old) continue;
            const MacroEntry* now = ByName(config_.macros, old->name);
            if (!now) continue;
            auto code = MacroCode(now->id);
            if (code == slot.code) continue;
            slot.code = code;
            if (!IsEdited(p, k)) device_.WriteKey(static_cast<int>(p), static_cast<int>(k));
        }
    }
    // The keys now know the device's current ids; a second renumbering in the same edit must start
    // from these, or a key could be sent to the macro that took its old id.
    known_ = config_.macros;
}

}  // namespace assign
