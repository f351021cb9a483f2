#pragma once
// The three ways the simulated devices keep macros in their memory image.
//
// Packed (Egret, Ibis, Crane): records one after another from a base offset, each
// [length high, length low][16-byte name][events]; a zero length ends the list. A macro's id is the
// offset of its record, so deleting one renumbers the macros after it, as the device does.
//
// Addressed (Heron, Heron driver): the program lays the macros out itself and addresses them by
// id = address + bias; at the address sit a 32-byte name and the encoded events, whose length the
// encoding carries in its header.
#include <cstdint>
#include <string>

#include "core/ImageBytes.h"

namespace sim {

struct PackedMacros {
    static constexpr uint32_t kNameBytes = 16;
    static constexpr uint32_t kMaxEvents = 224;

    uint32_t base;
    uint32_t end;

    // Copies macro `index`: 16 name bytes plus two zero bytes into `name` (18 bytes), the events into
    // `events` (224 bytes). kNoData past the last macro.
    int32_t Get(const Image& m, int32_t index, uint8_t* name, uint8_t* events, int32_t* id,
                int32_t* length) const;
    // index -1 or the count appends; an existing index is replaced, or deleted when `length` is 0.
    int32_t Set(Image& m, int32_t index, const uint8_t* name, const uint8_t* events, int32_t length) const;
    int Count(const Image& m) const;
    void Describe(const Image& m, std::string& out) const;
    // False when a record before the end of the list is longer than kMaxEvents or runs past `end`.
    bool Valid(const Image& m) const;

  private:
    uint32_t RecordSize(const Image& m, uint32_t at) const;
};

struct AddressedMacros {
    static constexpr uint32_t kNameBytes = 32;

    uint32_t firstAddress;  // 256
    uint32_t end;           // first byte past the macro memory
    int32_t idBias;         // id = address + bias
    uint32_t lengthBytes;   // 1: Heron (length at byte 1), 2: driver (16-bit length at bytes 1-2)
    uint32_t eventBuffer;   // bytes the library hands out on a read

    int32_t Get(const Image& m, int32_t id, uint8_t* name, int32_t nameSize, uint8_t* events) const;
    int32_t Set(Image& m, int32_t id, const uint8_t* name, const uint8_t* events, uint32_t eventArea) const;
    void Describe(const Image& m, std::string& out) const;

  private:
    uint32_t EncodedLength(const uint8_t* events, uint32_t available) const;
};

// Renders a big-endian UTF-16 name (the device form) for dumps; non-ASCII characters as '?'.
std::string DeviceNameText(const uint8_t* name, uint32_t bytes);

}  // namespace sim
