#pragma once
// Where each model keeps its macros and how a record of its macro files is laid out. Folder files
// use the record layout of the model's macro file.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "records/DeviceModel.h"
#include "records/MacroList.h"

// Loading never reads more than this from a macro file.
inline constexpr size_t kMacroFileReadLimit = 204800;

struct MacroFileFormat {
    DeviceModel model;
    const char* fileName;    // the model's macro file
    const char* folderName;  // the model's macro folder; null for the keyboard
    size_t recordSize;
    size_t nameBytes;  // UTF-16 big-endian name field
    size_t dataBytes;  // encoded macro, zero-filled

    size_t nameChars() const { return nameBytes / 2; }
    // Records a macro file may hold: loading reads no more than kMacroFileReadLimit bytes.
    size_t maxRecords() const { return kMacroFileReadLimit / recordSize; }
};

const MacroFileFormat& FileFormat(DeviceModel model);

// The macros of a macro file's bytes in record order: names up to the first zero character, data
// trimmed to the encoded macro. Records with an empty name (empty slots) or a name that is not text
// are skipped; a remainder shorter than a record is ignored.
MacroList ParseMacroRecords(DeviceModel model, std::span<const uint8_t> bytes);
void AppendMacroRecords(DeviceModel model, std::span<const uint8_t> bytes, MacroList& list);

// One record per entry: the name cut to the field (never between the halves of a surrogate pair),
// then the data cut to the field, both zero-filled.
std::vector<uint8_t> SerializeMacroRecords(DeviceModel model, const MacroList& list);

// Whether `name` is text: well-formed UTF-16 (no unpaired surrogate) without control characters or
// noncharacters.
bool IsMacroNameText(std::u16string_view name);

// The first `maxChars` UTF-16 units of `name`, one fewer when the cut would split a surrogate pair.
std::u16string CutName(std::u16string_view name, size_t maxChars);
