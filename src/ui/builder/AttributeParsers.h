#pragma once
// Typed parsers for skin attribute values. Each returns nullopt for a malformed value so the
// builder can report it instead of guessing.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/core/Geometry.h"

namespace ui {

std::optional<int> ParseInt(std::string_view value);
std::optional<bool> ParseBool(std::string_view value);
// "#AARRGGBB", "#RRGGBB", "0xAARRGGBB" (RRGGBB gets full alpha).
std::optional<Color> ParseColor(std::string_view value);
// "l,t,r,b"
std::optional<Rect> ParseRect(std::string_view value);
// "cx,cy"
std::optional<Size> ParseSize(std::string_view value);
// "left|center|right" combined with "top|vcenter|bottom" and "singleline|endellipsis|wordbreak"
std::optional<unsigned> ParseAlign(std::string_view value);
// name='value' name2="value2" ... ; nullopt when quoting is broken.
std::optional<std::vector<std::pair<std::string, std::string>>> ParseAttributeList(std::string_view list);

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToLower(std::string_view s);

}  // namespace ui
