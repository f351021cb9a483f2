#pragma once
// Comparing names the way a user reads them: Unicode case folding ("Été" is "été", "STRASSE" is
// "straße") and canonical equivalence (a precomposed "é" is "e" with a combining accent).
#include <string>
#include <string_view>

namespace assign {

// The folded, normalised form of UTF-8 text; invalid sequences count as U+FFFD.
std::string CaseFolded(std::string_view utf8);
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace assign
