#include "core/MacroMemory.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/SimStatus.h"

namespace sim {
namespace {

constexpr uint32_t kRecordHeader = 2 + PackedMacros::kNameBytes;

}  // namespace

// Event bytes of the record at `at`, or 0 where the list ends: a zero length, a record that would
// run past the macro memory, or one longer than any event buffer a caller hands over.
uint32_t PackedMacros::RecordSize(const Image& m, uint32_t at) const {
    if (at + kRecordHeader > end) return 0;
    const uint32_t size = (uint32_t{m[at]} << 8) | m[at + 1];
    if (size > kMaxEvents || at + kRecordHeader + size > end) return 0;
    return size;
}

bool PackedMacros::Valid(const Image& m) const {
    for (uint32_t at = base; at + kRecordHeader <= end;) {
        const uint32_t stored = (uint32_t{m[at]} << 8) | m[at + 1];
        if (stored == 0) return true;
        const uint32_t size = RecordSize(m, at);
        if (size != stored) return false;
        at += kRecordHeader + size;
    }
    return true;
}

std::string DeviceNameText(const uint8_t* name, uint32_t bytes) {
    std::string text;
    for (uint32_t i = 0; i + 1 < bytes; i += 2) {
        const unsigned unit = (unsigned{name[i]} << 8) | name[i + 1];
        if (unit == 0) break;
        text += unit < 0x80 ? static_cast<char>(unit) : '?';
    }
    return text;
}

int PackedMacros::Count(const Image& m) const {
    int count = 0;
    for (uint32_t at = base; at + kRecordHeader <= end;) {
        const uint32_t length = RecordSize(m, at);
        if (length == 0) break;
        ++count;
        at += kRecordHeader + length;
    }
    return count;
}

int32_t PackedMacros::Get(const Image& m, int32_t index, uint8_t* name, uint8_t* events, int32_t* id,
                          int32_t* length) const {
    if (!name || !events || !id || !length || index < 0) return kBadArgument;
    uint32_t at = base;
    for (int32_t i = 0; at + kRecordHeader <= end; ++i) {
        const uint32_t size = RecordSize(m, at);
        if (size == 0) break;
        if (i == index) {
            std::memcpy(name, m.data() + at + 2, kNameBytes);
            name[kNameBytes] = name[kNameBytes + 1] = 0;
            std::memset(events, 0, kMaxEvents);
            std::memcpy(events, m.data() + at + kRecordHeader, size);
            *id = static_cast<int32_t>(at);
            *length = static_cast<int32_t>(size);
            return kOk;
        }
        at += kRecordHeader + size;
    }
    return kNoData;
}

int32_t PackedMacros::Set(Image& m, int32_t index, const uint8_t* name, const uint8_t* events,
                          int32_t length) const {
    if (length < 0 || length > static_cast<int32_t>(kMaxEvents) || (length > 0 && (!name || !events)))
        return kBadArgument;
    // Unpack, edit the list, pack again: the device moves the records after a changed one.
    struct Record {
        std::vector<uint8_t> name, events;
    };
    std::vector<Record> records;
    for (uint32_t at = base; at + kRecordHeader <= end;) {
        const uint32_t size = RecordSize(m, at);
        if (size == 0) break;
        records.push_back({{m.begin() + at + 2, m.begin() + at + kRecordHeader},
                           {m.begin() + at + kRecordHeader, m.begin() + at + kRecordHeader + size}});
        at += kRecordHeader + size;
    }
    const int32_t count = static_cast<int32_t>(records.size());
    if (index < -1 || index > count) return kBadArgument;
    const bool append = index == -1 || index == count;
    if (length == 0) {
        if (append) return kBadArgument;  // nothing to delete there
        records.erase(records.begin() + index);
    } else {
        Record record{{name, name + kNameBytes}, {events, events + length}};
        if (append)
            records.push_back(std::move(record));
        else
            records[static_cast<size_t>(index)] = std::move(record);
    }
    uint32_t needed = 0;
    for (const Record& r : records) needed += kRecordHeader + static_cast<uint32_t>(r.events.size());
    if (base + needed > end) return kNoRoom;
    std::fill(m.begin() + base, m.begin() + end, 0);
    uint32_t at = base;
    for (const Record& r : records) {
        WriteInt(m, at, 2, static_cast<int32_t>(r.events.size()));
        std::copy(r.name.begin(), r.name.end(), m.begin() + at + 2);
        std::copy(r.events.begin(), r.events.end(), m.begin() + at + kRecordHeader);
        at += kRecordHeader + static_cast<uint32_t>(r.events.size());
    }
    return kOk;
}

void PackedMacros::Describe(const Image& m, std::string& out) const {
    char line[160];
    uint32_t at = base;
    for (int i = 0; at + kRecordHeader <= end; ++i) {
        const uint32_t size = RecordSize(m, at);
        if (size == 0) break;
        std::snprintf(line, sizeof line, "  macro %d: id %u \"%s\", %u event bytes\n", i, at,
                      DeviceNameText(m.data() + at + 2, kNameBytes).c_str(), size);
        out += line;
        at += kRecordHeader + size;
    }
}

uint32_t AddressedMacros::EncodedLength(const uint8_t* events, uint32_t available) const {
    const uint32_t header = 1 + lengthBytes;
    if (available < header) return 0;
    uint32_t length = lengthBytes == 1 ? events[1] : (uint32_t{events[1]} << 8) | events[2];
    if (length == 0) return 0;
    length += header;
    return length < available ? length : available;
}

int32_t AddressedMacros::Get(const Image& m, int32_t id, uint8_t* name, int32_t nameSize,
                             uint8_t* events) const {
    if (!name || !events || nameSize < static_cast<int32_t>(kNameBytes)) return kBadArgument;
    const int64_t address = int64_t{id} - idBias;
    if (address < firstAddress || address + kNameBytes + 1 + lengthBytes > end) return kBadArgument;
    const uint32_t at = static_cast<uint32_t>(address);
    const uint32_t available = end - at - kNameBytes;
    const uint32_t length = EncodedLength(m.data() + at + kNameBytes, available);
    if (length == 0) return kNoData;
    std::memset(name, 0, static_cast<size_t>(nameSize));
    std::memcpy(name, m.data() + at, kNameBytes);
    std::memset(events, 0, eventBuffer);
    std::memcpy(events, m.data() + at + kNameBytes, length < eventBuffer ? length : eventBuffer);
    return kOk;
}

int32_t AddressedMacros::Set(Image& m, int32_t id, const uint8_t* name, const uint8_t* events,
                             uint32_t eventArea) const {
    if (!name || !events) return kBadArgument;
    const int64_t address = int64_t{id} - idBias;
    if (address < firstAddress || address + kNameBytes > end) return kBadArgument;
    const uint32_t at = static_cast<uint32_t>(address);
    // Only the encoded bytes are written, so a macro never clobbers the one placed after it.
    const uint32_t length = EncodedLength(events, eventArea);
    if (at + kNameBytes + length > end) return kNoRoom;
    std::memcpy(m.data() + at, name, kNameBytes);
    std::memcpy(m.data() + at + kNameBytes, events, length);
    if (length == 0 && at + kNameBytes + 1 + lengthBytes <= end)  // an empty macro clears its header
        std::memset(m.data() + at + kNameBytes, 0, 1 + lengthBytes);
    return kOk;
}

void AddressedMacros::Describe(const Image& m, std::string& out) const {
    char line[160];
    for (uint32_t at = firstAddress; at + kNameBytes + 1 + lengthBytes <= end; ++at) {
        const uint32_t length = EncodedLength(m.data() + at + kNameBytes, end - at - kNameBytes);
        if (length == 0) continue;
        std::snprintf(line, sizeof line, "  macro id %d: \"%s\", %u event bytes\n",
                      static_cast<int>(at) + idBias, DeviceNameText(m.data() + at, kNameBytes).c_str(),
                      length);
        out += line;
        at += kNameBytes + length - 1;
    }
}

}  // namespace sim
