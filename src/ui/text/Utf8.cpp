#include "ui/text/Utf8.h"

namespace ui {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the well-formed sequence at `i`, or 0 when it is ill-formed; `consumed` then holds the
// length of its maximal ill-formed subpart (at least 1).
size_t SequenceAt(std::string_view s, size_t i, size_t& consumed) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char lead = byte(i);
    consumed = 1;
    if (lead < 0x80) return 1;
    // Length and range of the second byte by lead byte: the narrowed ranges rule out overlong
    // forms (E0, F0), surrogates (ED) and code points above U+10FFFF (F4).
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;  // a continuation byte, C0, C1 or F5..FF
    }
    for (size_t k = 1; k < length; ++k) {
        if (i + k >= s.size()) return 0;
        unsigned char b = byte(i + k);
        bool inRange = k == 1 ? (b >= low && b <= high) : (b >= 0x80 && b <= 0xBF);
        if (!inRange) return 0;
        consumed = k + 1;
    }
    return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    size_t consumed;
    for (size_t i = 0; i < text.size();) {
        size_t n = SequenceAt(text, i, consumed);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string MakeValidUtf8(std::string_view text) {
    if (IsValidUtf8(text)) return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    size_t consumed;
    for (size_t i = 0; i < text.size();) {
        size_t n = SequenceAt(text, i, consumed);
        if (n == 0) {
            out += kReplacement;
            i += consumed;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
    return out;
}

}  // namespace ui
