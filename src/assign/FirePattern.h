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

namespace assign {

// The recoil pattern of a Heron fire macro (24 bytes): byte 0 is the stop flag (1 stop, 0 not),
// then byte code from byte 1 on. Reading finds shot count, vertical movement and delay and where
// each sits; writing puts new values at exactly those places and leaves every other byte alone.
//
//   FA y       vertical movement, signed
//   FD n a b   shot count n + 1; the two bytes after n are carried unchanged
//   FE d       delay d * 8 ms
//   FB x, FC x two bytes carried unchanged
//   other      one byte, carried unchanged (21, A1)
class HeronFirePattern {
  public:
    using Bytes = std::array<uint8_t, FireMacroEntry::kPatternSize>;
    static constexpr int kMaxCount = 256;
    static constexpr int kMaxDelayMs = 2040;
    static constexpr int kDelayStepMs = 8;

    struct Values {
        std::optional<int> count;    // shots, 1 to 256
        std::optional<int> y;        // vertical movement
        std::optional<int> delayMs;  // a multiple of 8
        bool stop = false;
    };

    static HeronFirePattern Read(const Bytes& data);

    Values Found() const { return found_; }
    // Writes the fields of `values` that have a position (count - 1, y, delay / 8) and the stop flag.
    void Write(Bytes& data, const Values& values) const;

  private:
    Values found_;
    std::optional<size_t> countAt_, yAt_, delayAt_;
};

}  // namespace assign
