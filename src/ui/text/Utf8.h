#pragma once
// Text read from skin and language files is checked here before Pango or anything else sees it:
// Pango rejects invalid UTF-8 on every draw, so a bad byte must not survive the read.
#include <string>
#include <string_view>

namespace ui {

bool IsValidUtf8(std::string_view text);

// `text` with every ill-formed sequence replaced by U+FFFD, one per maximal ill-formed subpart
// (the Unicode recommendation), so valid text next to a bad byte is never swallowed.
std::string MakeValidUtf8(std::string_view text);

}  // namespace ui
