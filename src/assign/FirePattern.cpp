#include "assign/FirePattern.h"

namespace assign {
namespace {

constexpr uint8_t kCount = 0xFD;
constexpr uint8_t kMove = 0x04;
constexpr uint8_t kShootTime = 0xFE;

}  // namespace

FirePattern FirePattern::Read(const Bytes& data) {
    FirePattern p;
    bool moved = false;
    // An entry cut off by the end of the data is not read; later entries of a kind replace earlier ones.
    for (size_t i = 0; i < data.size();) {
        const size_t left = data.size() - i;
        if (data[i] == kCount && left >= 2) {
            p.countAt_ = i + 1;
            p.found_.count = data[i + 1];
            i += 2;
        } else if (data[i] == kMove && left >= 3) {
            p.xAt_ = i + 1, p.yAt_ = i + 2;
            p.found_.x = static_cast<int8_t>(data[i + 1]);
            p.found_.y = static_cast<int8_t>(data[i + 2]);
            moved = true;
            i += 3;
        } else if (data[i] == kShootTime && left >= 3) {
            if (moved) {
                p.shootTimeAt_ = i + 1;
                p.found_.shootTime = data[i + 1] << 8 | data[i + 2];
                moved = false;
            }
            i += 3;
        } else {
            ++i;
        }
    }
    return p;
}

void FirePattern::Write(Bytes& data, const Values& values) const {
    auto put = [&data](std::optional<size_t> at, std::optional<int> value) {
        if (at && value) data[*at] = static_cast<uint8_t>(*value & 0xFF);
    };
    put(countAt_, values.count);
    put(xAt_, values.x);
    put(yAt_, values.y);
    if (shootTimeAt_ && values.shootTime) {
        data[*shootTimeAt_] = static_cast<uint8_t>((*values.shootTime >> 8) & 0xFF);
        data[*shootTimeAt_ + 1] = static_cast<uint8_t>(*values.shootTime & 0xFF);
    }
}

}  // namespace assign
