#include "platform/linux/EndpointWire.h"

namespace platform::linux_impl {

namespace {

void PutLe(uint8_t* out, uint64_t value, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint64_t GetLe(const uint8_t* in, size_t bytes) {
    uint64_t value = 0;
    for (size_t i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
    return value;
}

}  // namespace

std::array<uint8_t, kRecordSize> EncodeRecord(const EndpointRecord& record) {
    std::array<uint8_t, kRecordSize> bytes{};
    PutLe(bytes.data(), record.message, 4);
    PutLe(bytes.data() + 4, static_cast<uint64_t>(record.wParam), 8);
    PutLe(bytes.data() + 12, static_cast<uint64_t>(record.lParam), 8);
    return bytes;
}

EndpointRecord DecodeRecord(const uint8_t* bytes) {
    EndpointRecord record;
    record.message = static_cast<uint32_t>(GetLe(bytes, 4));
    record.wParam = static_cast<int64_t>(GetLe(bytes + 4, 8));
    record.lParam = static_cast<int64_t>(GetLe(bytes + 12, 8));
    return record;
}

std::string EndpointBaseName(const std::string& className) {
    if (className.empty() || className.size() > 64 || className[0] == '.') return {};
    std::string name;
    name.reserve(className.size());
    for (char c : className) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                  c == '-' || c == '.';
        if (!ok) return {};
        name.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return name;
}

}  // namespace platform::linux_impl
