#include "core/SimState.h"

#include <cstring>

namespace sim {
namespace {

constexpr char kMagic[8] = {'O', 'A', 'K', 'S', 'I', 'M', '1', 0};
constexpr size_t kRuleSize = SimState::kMaxNameLength + 1 + 8;

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

class Reader {
  public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool Take(void* out, size_t n) {
        if (bytes_.size() - pos_ < n) return false;
        std::memcpy(out, bytes_.data() + pos_, n);
        pos_ += n;
        return true;
    }
    bool U32(uint32_t& v) {
        uint8_t b[4];
        if (!Take(b, 4)) return false;
        v = (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
        return true;
    }
    bool AtEnd() const { return pos_ == bytes_.size(); }

  private:
    const std::vector<uint8_t>& bytes_;
    size_t pos_ = 0;
};

}  // namespace

std::vector<uint8_t> SimState::Serialize() const {
    std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
    PutU32(out, attached ? 1 : 0);
    PutU32(out, static_cast<uint32_t>(variant));
    PutU32(out, latencyMs);
    PutU32(out, pressCount);
    const size_t ruleCount = rules.size() < kMaxRules ? rules.size() : kMaxRules;
    PutU32(out, static_cast<uint32_t>(ruleCount));
    for (size_t i = 0; i < ruleCount; ++i) {
        char name[kMaxNameLength + 1] = {};
        std::strncpy(name, rules[i].entryPoint.c_str(), kMaxNameLength);
        out.insert(out.end(), name, name + sizeof name);
        PutU32(out, static_cast<uint32_t>(rules[i].call));
        PutU32(out, static_cast<uint32_t>(rules[i].status));
    }
    PutU32(out, static_cast<uint32_t>(image.size()));
    out.insert(out.end(), image.begin(), image.end());
    return out;
}

std::optional<SimState> SimState::Parse(const std::vector<uint8_t>& bytes, uint32_t imageSize) {
    Reader in(bytes);
    char magic[sizeof kMagic];
    if (!in.Take(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0) return std::nullopt;
    SimState state;
    uint32_t attached, variant, ruleCount;
    if (!in.U32(attached) || !in.U32(variant) || !in.U32(state.latencyMs) || !in.U32(state.pressCount) ||
        !in.U32(ruleCount) || ruleCount > kMaxRules)
        return std::nullopt;
    state.attached = attached != 0;
    state.variant = static_cast<int32_t>(variant);
    for (uint32_t i = 0; i < ruleCount; ++i) {
        char name[kMaxNameLength + 1];
        uint32_t call, status;
        if (!in.Take(name, sizeof name) || !in.U32(call) || !in.U32(status)) return std::nullopt;
        name[kMaxNameLength] = 0;
        state.rules.push_back({name, static_cast<int32_t>(call), static_cast<int32_t>(status), 0});
    }
    uint32_t size;
    if (!in.U32(size) || size != imageSize) return std::nullopt;
    state.image.resize(size);
    if (!in.Take(state.image.data(), size) || !in.AtEnd()) return std::nullopt;
    (void)kRuleSize;
    return state;
}

}  // namespace sim
