#pragma once
// UTF-16 text (macro names from the devices and macro files) to the UTF-8 the toolkit draws.
#include <string>
#include <string_view>

namespace assign {

// Unpaired surrogates, which a device may hand back, become U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace assign
