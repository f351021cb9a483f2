#pragma once
// The recoil pattern of a family-E fire macro (24 bytes of byte code): reads shot count, movement
// and shoot time and where each sits, and writes new values at exactly those places, leaving every
// other byte as it was.
//
//   FD n     shot count n (unsigned)
//   04 x y   movement, signed bytes
//   FE h l   shoot time h * 256 + l; counts only after a movement since the last shoot time
//   other    one byte, carried unchanged (A1 button down, 21 button up, FC end)
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "records/FireMacroEntry.h"

namespace assign {

class FirePattern {
  public:
    using Bytes = std::array<uint8_t, FireMacroEntry::kPatternSize>;

    struct Values {
        std::optional<int> count;
        std::optional<int> x;
        std::optional<int> y;
        std::optional<int> shootTime;
    };

    static FirePattern Read(const Bytes& data);

    // What the reading found; a field without a position has no value.
    Values Found() const { return found_; }
    // Writes the fields of `values` that have a position (low 8 bits; the shoot time high byte first).
    void Write(Bytes& data, const Values& values) const;

  private:
    Values found_;
    std::optional<size_t> countAt_, xAt_, yAt_, shootTimeAt_;
};

}  // namespace assign
