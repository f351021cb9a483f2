#pragma once
// Internal: what travels over a message endpoint's socket, and where the socket lives.
//
// A client connects, sends one record of kRecordSize bytes (little-endian uint32 message, int64
// wParam, int64 lParam) and reads one reply byte: kReplyAccepted or kReplyRefused. A connection
// that closes without a full record (a liveness probe) gets no reply.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::linux_impl {

inline constexpr size_t kRecordSize = 20;
inline constexpr uint8_t kReplyRefused = 0;
inline constexpr uint8_t kReplyAccepted = 1;

struct EndpointRecord {
    uint32_t message = 0;
    int64_t wParam = 0;
    int64_t lParam = 0;
};

std::array<uint8_t, kRecordSize> EncodeRecord(const EndpointRecord& record);
EndpointRecord DecodeRecord(const uint8_t* bytes);  // reads kRecordSize bytes

// The class name lower-cased (ASCII), or empty when it cannot name a file: empty, longer than 64
// characters, or holding anything but letters, digits, '_', '-' and '.' (or starting with '.').
std::string EndpointBaseName(const std::string& className);

}  // namespace platform::linux_impl
