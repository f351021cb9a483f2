#pragma once
// What a simulated device keeps between processes: whether it is plugged in, its variant, the
// test knobs and its memory. Every process that loads the library shares it through one file per
// model, so devsim and the program see the same device.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/ImageBytes.h"

namespace sim {

struct FailureRule {
    std::string entryPoint;
    int32_t call = 0;    // fail the n-th call from now (1-based); 0 fails every call
    int32_t status = 1;  // what the failing call returns
    int32_t seen = 0;    // calls counted so far in this process; not stored

    bool SameRule(const FailureRule& o) const {
        return entryPoint == o.entryPoint && call == o.call && status == o.status;
    }
};

struct SimState {
    static constexpr size_t kMaxRules = 16;
    static constexpr size_t kMaxNameLength = 63;

    bool attached = true;
    int32_t variant = 0;
    uint32_t latencyMs = 0;
    uint32_t pressCount = 0;  // grows with every device-side button press
    std::vector<FailureRule> rules;
    Image image;

    std::vector<uint8_t> Serialize() const;
    // Null when the bytes are not a state of `imageSize` bytes of memory.
    static std::optional<SimState> Parse(const std::vector<uint8_t>& bytes, uint32_t imageSize);
};

}  // namespace sim
