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

namespace assign {
namespace {

constexpr uint8_t kHeronMove = 0xFA;
constexpr uint8_t kHeronCount = 0xFD;
constexpr uint8_t kHeronDelay = 0xFE;
constexpr uint8_t kHeronCarriedX1 = 0xFB;
constexpr uint8_t kHeronCarriedX2 = 0xFC;

}  // namespace

HeronFirePattern HeronFirePattern::Read(const Bytes& data) {
    HeronFirePattern p;
    p.found_.stop = data[0] == 1;
    // An entry cut off by the end of the data is not read; later entries of a kind replace earlier ones.
    for (size_t i = 1; i < data.size();) {
        const size_t left = data.size() - i;
        const uint8_t tag = data[i];
        if (tag == kHeronCount && left >= 4) {
            p.countAt_ = i + 1;
            p.found_.count = data[i + 1] + 1;
            i += 4;
        } else if (tag == kHeronMove && left >= 2) {
            p.yAt_ = i + 1;
            p.found_.y = static_cast<int8_t>(data[i + 1]);
            i += 2;
        } else if (tag == kHeronDelay && left >= 2) {
            p.delayAt_ = i + 1;
            p.found_.delayMs = data[i + 1] * kDelayStepMs;
            i += 2;
        } else if ((tag == kHeronCarriedX1 || tag == kHeronCarriedX2) && left >= 2) {
            i += 2;
        } else {
            ++i;
        }
    }
    return p;
}

void HeronFirePattern::Write(Bytes& data, const Values& values) const {
    data[0] = values.stop ? 1 : 0;
    if (countAt_ && values.count) data[*countAt_] = static_cast<uint8_t>((*values.count - 1) & 0xFF);
    if (yAt_ && values.y) data[*yAt_] = static_cast<uint8_t>(*values.y & 0xFF);
    if (delayAt_ && values.delayMs)
        data[*delayAt_] = static_cast<uint8_t>((*values.delayMs / kDelayStepMs) & 0xFF);
}

}  // namespace assign
