#include "ui/text/TextTable.h"

#include <cctype>

namespace ui {

TextTable& TextTable::Instance() {
    static TextTable table;
    return table;
}

void TextTable::Set(int id, std::string text) {
    texts_[id] = std::move(text);
}

std::optional<std::string> TextTable::Get(int id) const {
    auto it = texts_.find(id);
    if (it == texts_.end()) return std::nullopt;
    return it->second;
}

void TextTable::Clear() {
    texts_.clear();
}

std::string TextTable::Resolve(std::string_view text) const {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '%' && i + 2 < text.size() && text[i + 1] == '{' &&
            std::isdigit(static_cast<unsigned char>(text[i + 2]))) {
            size_t j = i + 2;
            long long number = 0;
            bool overflow = false;
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
                number = number * 10 + (text[j] - '0');
                if (number > 0x7FFFFFFF) overflow = true, number = 0x7FFFFFFF;
                ++j;
            }
            if (j < text.size() && text[j] == '}' && !overflow) {
                auto it = texts_.find(static_cast<int>(number));
                if (it != texts_.end()) {
                    out += it->second;
                    i = j + 1;
                    continue;
                }
            }
        }
        out += text[i];
        ++i;
    }
    return out;
}

}  // namespace ui
