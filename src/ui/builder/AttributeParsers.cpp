#include "ui/builder/AttributeParsers.h"

#include <cctype>
#include <charconv>

#include "ui/core/Control.h"

namespace ui {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

std::optional<std::vector<int>> ParseInts(std::string_view value, size_t count) {
    std::vector<int> out;
    size_t start = 0;
    while (start <= value.size()) {
        size_t comma = value.find(',', start);
        if (comma == std::string_view::npos) comma = value.size();
        auto n = ParseInt(value.substr(start, comma - start));
        if (!n) return std::nullopt;
        out.push_back(*n);
        start = comma + 1;
    }
    if (out.size() != count) return std::nullopt;
    return out;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string ToLower(std::string_view s) {
    std::string out(s);
    for (auto& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::optional<int> ParseInt(std::string_view value) {
    value = Trim(value);
    if (!value.empty() && value.front() == '+') value.remove_prefix(1);
    int n = 0;
    auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (ec != std::errc() || ptr != value.data() + value.size() || value.empty()) return std::nullopt;
    return n;
}

std::optional<bool> ParseBool(std::string_view value) {
    value = Trim(value);
    if (EqualsNoCase(value, "true") || value == "1") return true;
    if (EqualsNoCase(value, "false") || value == "0") return false;
    return std::nullopt;
}

std::optional<Color> ParseColor(std::string_view value) {
    value = Trim(value);
    if (value.starts_with('#'))
        value.remove_prefix(1);
    else if (value.starts_with("0x") || value.starts_with("0X"))
        value.remove_prefix(2);
    else
        return std::nullopt;
    if (value.size() != 6 && value.size() != 8) return std::nullopt;
    unsigned int c = 0;
    auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), c, 16);
    if (ec != std::errc() || ptr != value.data() + value.size()) return std::nullopt;
    if (value.size() == 6) c |= 0xFF000000u;
    return c;
}

std::optional<Rect> ParseRect(std::string_view value) {
    auto v = ParseInts(value, 4);
    if (!v) return std::nullopt;
    return Rect{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

std::optional<Size> ParseSize(std::string_view value) {
    auto v = ParseInts(value, 2);
    if (!v) return std::nullopt;
    return Size{(*v)[0], (*v)[1]};
}

std::optional<unsigned> ParseAlign(std::string_view value) {
    unsigned horizontal = kAlignCenter;
    unsigned vertical = kAlignVCenter;
    unsigned flags = 0;
    size_t start = 0;
    while (start <= value.size()) {
        size_t bar = value.find_first_of("|, ", start);
        if (bar == std::string_view::npos) bar = value.size();
        auto word = Trim(value.substr(start, bar - start));
        start = bar + 1;
        if (word.empty()) continue;
        if (EqualsNoCase(word, "left"))
            horizontal = kAlignLeft;
        else if (EqualsNoCase(word, "center"))
            horizontal = kAlignCenter;
        else if (EqualsNoCase(word, "right"))
            horizontal = kAlignRight;
        else if (EqualsNoCase(word, "top"))
            vertical = kAlignTop;
        else if (EqualsNoCase(word, "vcenter"))
            vertical = kAlignVCenter;
        else if (EqualsNoCase(word, "bottom"))
            vertical = kAlignBottom;
        else if (EqualsNoCase(word, "singleline"))
            flags |= kAlignSingleLine;
        else if (EqualsNoCase(word, "endellipsis"))
            flags |= kAlignEndEllipsis;
        else if (EqualsNoCase(word, "wordbreak"))
            flags |= kAlignWordBreak;
        else
            return std::nullopt;
    }
    if (!(flags & kAlignWordBreak)) flags |= kAlignSingleLine;
    return horizontal | vertical | flags;
}

std::optional<std::vector<std::pair<std::string, std::string>>> ParseAttributeList(std::string_view list) {
    std::vector<std::pair<std::string, std::string>> out;
    size_t i = 0;
    auto skipSpace = [&] {
        while (i < list.size() && std::isspace(static_cast<unsigned char>(list[i]))) ++i;
    };
    while (true) {
        skipSpace();
        if (i >= list.size()) break;
        size_t nameStart = i;
        while (i < list.size() && list[i] != '=' && !std::isspace(static_cast<unsigned char>(list[i]))) ++i;
        std::string name(list.substr(nameStart, i - nameStart));
        skipSpace();
        if (i >= list.size() || list[i] != '=' || name.empty()) return std::nullopt;
        ++i;
        skipSpace();
        if (i >= list.size() || (list[i] != '\'' && list[i] != '"')) return std::nullopt;
        char quote = list[i++];
        size_t end = list.find(quote, i);
        if (end == std::string_view::npos) return std::nullopt;
        out.emplace_back(std::move(name), std::string(list.substr(i, end - i)));
        i = end + 1;
    }
    return out;
}

}  // namespace ui
