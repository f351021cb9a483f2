#pragma once
// List-row text markup: "{x n}" leaves n pixels of space, "{i file count index}" draws frame
// `index` of an image strip of `count` equal frames. Everything else is plain text.
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct MarkupRun {
    enum class Kind { Text, Space, Image } kind = Kind::Text;
    std::string text;  // Text: the words; Image: the file
    int amount = 0;    // Space: pixels; Image: frame count
    int index = 0;     // Image: frame index
};

std::vector<MarkupRun> ParseMarkup(std::string_view text);

}  // namespace ui
