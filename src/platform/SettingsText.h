#pragma once
// Helpers of the program's small "name=value" text files.
#include <algorithm>
#include <cctype>
#include <string>

namespace platform::settings_text {

// Names compare without regard to case, as the registry's do.
inline bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

inline std::string Trim(const std::string& s) {
    size_t begin = s.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return {};
    size_t end = s.find_last_not_of(" \t\r");
    return s.substr(begin, end - begin + 1);
}

}  // namespace platform::settings_text
