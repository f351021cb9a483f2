#pragma once
// One macro: its name and its events in the model's device encoding. `data` holds the encoded
// length, not the model's whole data area. Macros read from a family-E device also carry the id the
// device gave them (their attribute); macros from files have id 0.
#include <cstdint>
#include <string>
#include <vector>

struct MacroEntry {
    std::u16string name;
    std::vector<uint8_t> data;
    int id = 0;

    bool operator==(const MacroEntry&) const = default;
};
