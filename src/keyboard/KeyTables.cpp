#include "keyboard/KeyTables.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "assign/KeyCodes.h"
#include "assign/Utf16.h"

namespace keyboard {
namespace {

using K = KeyboardConfig;

bool IsModifierSet(int high) {
    return high >= 0x81 && high <= 0x8F;
}

KeyboardKey DefaultKey(int code) {
    KeyboardKey key;
    key.defaultCode = key.code = code;
    key.text = key.secondText = assign::KeyName(static_cast<unsigned>(code));
    return key;
}

// The text and kind of code `c` as the keyboard holds it; false when the code names nothing.
bool Describe(KeyboardKey& key, int c, const KeyTable& table, const std::map<int, MacroEntry>& slots) {
    if (std::string name = assign::KeyName(static_cast<unsigned>(c)); !name.empty()) {
        key.kind = KeyboardKey::kKey;
        key.text = std::move(name);
        key.macroName.clear();
        return true;
    }
    if (c >= K::kComboCodeBase && c < K::kComboCodeBase + K::kMaxCombos) {
        const size_t at = static_cast<size_t>(K::kComboOffset + 2 * (c - K::kComboCodeBase));
        const uint16_t combination = static_cast<uint16_t>(table[at] << 8 | table[at + 1]);
        key.kind = KeyboardKey::kCombination;
        key.combination = combination;
        key.text = CombinationName(combination);
        key.macroName.clear();
        return true;
    }
    if (c >= K::kMacroCodeBase && c < K::kMacroCodeBase + K::kMaxMacros) {
        auto it = slots.find(c - K::kMacroCodeBase);
        if (it != slots.end() && !it->second.name.empty()) {
            key.kind = KeyboardKey::kMacro;
            key.macroName = it->second.name;
            key.text = assign::Utf8FromUtf16(it->second.name);
            return true;
        }
    }
    if (std::string name = assign::MultimediaKeyName(static_cast<unsigned>(c)); !name.empty()) {
        key.kind = KeyboardKey::kMultimedia;
        key.text = std::move(name);
        key.macroName.clear();
        return true;
    }
    return false;
}

void TakeCode(KeyboardKey& key, int c, const KeyTable& table, const std::map<int, MacroEntry>& slots) {
    // A code that names nothing (a slot the keyboard no longer fills) is still what the key sends.
    if (!Describe(key, c, table, slots)) {
        key.kind = KeyboardKey::kKey;
        key.text.clear();
        key.macroName.clear();
    }
    key.code = c;
}

template <class Item, class Same>
int PlaceIn(std::vector<Item>& held, const Item& item, size_t limit, Same same) {
    for (size_t i = 0; i < held.size(); ++i)
        if (same(held[i], item)) return static_cast<int>(i);
    if (held.size() >= limit) return -1;
    held.push_back(item);
    return static_cast<int>(held.size() - 1);
}

// The distinct macros (by name) and combinations of every entry but `except`, in table order.
void Collect(const KeyboardConfig& config, const KeyboardKey* except, std::vector<std::u16string>& names,
             std::vector<uint16_t>& combinations) {
    ForEachEntry(config, [&](const KeyboardKey& key) {
        if (&key == except) return;
        if (key.kind == KeyboardKey::kMacro)
            PlaceIn(names, key.macroName, SIZE_MAX, std::equal_to<>());
        else if (key.kind == KeyboardKey::kCombination)
            PlaceIn(combinations, key.combination, SIZE_MAX, std::equal_to<>());
    });
}

}  // namespace

std::string KeyEntryName(int index) {
    char name[8];
    std::snprintf(name, sizeof name, "KB_%02X", index & 0xFF);
    return name;
}

std::string FnEntryName(int number) {
    return "FN_" + std::to_string(number);
}

void LoadDefaults(KeyboardConfig& config, std::span<const uint8_t> image) {
    for (auto& table : config.keyTables) table.clear();
    for (auto& table : config.fnTables) table.clear();
    for (int p = 0; p < K::kProfiles; ++p) {
        const size_t keys = static_cast<size_t>(K::kDefaultKeyOffset[static_cast<size_t>(p)]);
        const size_t fn = static_cast<size_t>(K::kDefaultFnOffset[static_cast<size_t>(p)]);
        if (image.size() < fn + K::kFnKeys) return;
        for (int i = 0; i < K::kKeySlots; ++i) {
            const int code = image[keys + static_cast<size_t>(i)];
            // Unused places of the table hold 0: no key there.
            if (code != 0) config.keyTables[static_cast<size_t>(p)][KeyEntryName(i)] = DefaultKey(code);
        }
        for (int j = 1; j <= K::kFnKeys; ++j) {
            // Stored as signed bytes; the keyboard's Fn codes are their byte value.
            const int code = static_cast<int8_t>(image[fn + static_cast<size_t>(j - 1)]) & 0xFF;
            KeyboardKey key = DefaultKey(code);
            if (key.text.empty())
                key.text = key.secondText = assign::MultimediaKeyName(static_cast<unsigned>(code));
            config.fnTables[static_cast<size_t>(p)][FnEntryName(j)] = key;
        }
    }
}

std::string CombinationName(uint16_t combination) {
    const int high = combination >> 8;
    const int low = combination & 0xFF;
    if (!IsModifierSet(high))
        return assign::KeyName(static_cast<unsigned>(high)) + "+" +
               assign::KeyName(static_cast<unsigned>(low));
    std::string text;
    static constexpr const char* kWords[] = {"Ctrl+", "Shift+", "Alt+", "Win+"};
    for (int bit = 0; bit < 4; ++bit)
        if (high & (1 << bit)) text += kWords[bit];
    return text + assign::KeyName(static_cast<unsigned>(low));
}

void TakeKeyTable(KeyboardConfig& config, int profile, const KeyTable& table,
                  const std::map<int, MacroEntry>& slots) {
    if (profile < 0 || profile >= K::kProfiles) return;
    for (int i = 0; i < K::kKeySlots; ++i) {
        auto& keys = config.keyTables[static_cast<size_t>(profile)];
        auto it = keys.find(KeyEntryName(i));
        if (it != keys.end()) TakeCode(it->second, table[static_cast<size_t>(i)], table, slots);
    }
    for (int j = 1; j <= K::kFnKeys; ++j) {
        auto& fn = config.fnTables[static_cast<size_t>(profile)];
        auto it = fn.find(FnEntryName(j));
        const int c = table[static_cast<size_t>(K::kFnOffset + j - 1)];
        if (it != fn.end() && c != it->second.defaultCode) TakeCode(it->second, c, table, slots);
    }
}

KeyTable BuildKeyTable(const KeyboardConfig& config, int profile) {
    KeyTable table{};
    if (profile < 0 || profile >= K::kProfiles) return table;
    for (int i = 0; i < K::kKeySlots; ++i) {
        const auto& keys = config.keyTables[static_cast<size_t>(profile)];
        if (auto it = keys.find(KeyEntryName(i)); it != keys.end())
            table[static_cast<size_t>(i)] = static_cast<uint8_t>(it->second.code);
    }
    for (size_t c = 0; c < config.keyboardCombos.size() && c < K::kMaxCombos; ++c) {
        table[K::kComboOffset + 2 * c] = static_cast<uint8_t>(config.keyboardCombos[c] >> 8);
        table[K::kComboOffset + 2 * c + 1] = static_cast<uint8_t>(config.keyboardCombos[c]);
    }
    for (int j = 1; j <= K::kFnKeys; ++j) {
        const auto& fn = config.fnTables[static_cast<size_t>(profile)];
        if (auto it = fn.find(FnEntryName(j)); it != fn.end())
            table[static_cast<size_t>(K::kFnOffset + j - 1)] = static_cast<uint8_t>(it->second.code);
    }
    return table;
}

void RebuildSlots(KeyboardConfig& config, const MacroList& macros) {
    std::vector<std::u16string> names;
    std::vector<uint16_t> combinations;
    Collect(config, nullptr, names, combinations);
    ForEachEntry(config, [&](KeyboardKey& key) {
        if (key.kind == KeyboardKey::kMacro) {
            const auto at = std::find(names.begin(), names.end(), key.macroName) - names.begin();
            key.code = K::kMacroCodeBase + static_cast<int>(at);
        } else if (key.kind == KeyboardKey::kCombination) {
            const auto at =
                std::find(combinations.begin(), combinations.end(), key.combination) - combinations.begin();
            key.code = K::kComboCodeBase + static_cast<int>(at);
        }
    });
    MacroList slots;
    for (const auto& name : names) {
        const MacroEntry* found = nullptr;
        for (const auto& entry : macros)
            if (entry->name == name) found = entry.get();
        for (size_t i = 0; !found && i < config.macros.size(); ++i)
            if (config.macros[i].name == name) found = &config.macros[i];
        slots.Add(found ? MacroEntry{name, found->data, 0} : MacroEntry{name, {}, 0});
    }
    config.macros = std::move(slots);
    config.keyboardCombos = std::move(combinations);
}

void AssignKey(KeyboardConfig& config, KeyboardKey& key, int code, const MacroList& macros) {
    key.kind = KeyboardKey::kKey;
    key.code = code;
    key.text = assign::KeyName(static_cast<unsigned>(code));
    key.macroName.clear();
    RebuildSlots(config, macros);
}

void AssignMultimedia(KeyboardConfig& config, KeyboardKey& key, int code, std::string text,
                      const MacroList& macros) {
    key.kind = KeyboardKey::kMultimedia;
    key.code = code;
    key.text = std::move(text);
    key.macroName.clear();
    RebuildSlots(config, macros);
}

void ResetKey(KeyboardConfig& config, KeyboardKey& key, const MacroList& macros) {
    key.kind = KeyboardKey::kKey;
    key.code = key.defaultCode;
    key.text = key.secondText;
    key.macroName.clear();
    RebuildSlots(config, macros);
}

AssignResult AssignMacro(KeyboardConfig& config, KeyboardKey& key, const MacroEntry& macro,
                         const MacroList& macros) {
    // The key's own old macro gives its slot up when no other key plays it.
    std::vector<std::u16string> names;
    std::vector<uint16_t> combinations;
    Collect(config, &key, names, combinations);
    if (PlaceIn(names, macro.name, K::kMaxMacros, std::equal_to<>()) < 0) return AssignResult::NoMacroSlot;
    key.kind = KeyboardKey::kMacro;
    key.macroName = macro.name;
    key.text = assign::Utf8FromUtf16(macro.name);
    RebuildSlots(config, macros);
    return AssignResult::Done;
}

AssignResult AssignCombination(KeyboardConfig& config, KeyboardKey& key, uint16_t combination,
                               const MacroList& macros) {
    std::vector<std::u16string> names;
    std::vector<uint16_t> combinations;
    Collect(config, &key, names, combinations);
    if (PlaceIn(combinations, combination, K::kMaxCombos, std::equal_to<>()) < 0)
        return AssignResult::NoCombinationSlot;
    key.kind = KeyboardKey::kCombination;
    key.combination = combination;
    key.text = CombinationName(combination);
    key.macroName.clear();
    RebuildSlots(config, macros);
    return AssignResult::Done;
}

}  // namespace keyboard
