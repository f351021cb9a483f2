#include "ui/text/Markup.h"

#include <charconv>
#include <sstream>

namespace ui {
namespace {

bool ToInt(const std::string& s, int& out) {
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

// Parses the inside of one "{...}" tag; false when it is not a tag we know (then it is text).
bool ParseTag(std::string_view body, MarkupRun& run) {
    std::istringstream in{std::string(body)};
    std::string kind;
    in >> kind;
    if (kind == "x") {
        std::string n;
        if (!(in >> n) || !ToInt(n, run.amount) || run.amount < 0) return false;
        run.kind = MarkupRun::Kind::Space;
        return in.eof() || (in >> std::ws).eof();
    }
    if (kind == "i") {
        std::string file, count, index;
        if (!(in >> file)) return false;
        run.kind = MarkupRun::Kind::Image;
        run.text = file;
        run.amount = 1;
        run.index = 0;
        if (in >> count) {
            if (!ToInt(count, run.amount) || run.amount < 1) return false;
            if (in >> index) {
                if (!ToInt(index, run.index) || run.index < 0 || run.index >= run.amount) return false;
            }
        }
        return true;
    }
    return false;
}

}  // namespace

std::vector<MarkupRun> ParseMarkup(std::string_view text) {
    std::vector<MarkupRun> runs;
    auto addText = [&](std::string_view s) {
        if (s.empty()) return;
        if (!runs.empty() && runs.back().kind == MarkupRun::Kind::Text)
            runs.back().text += s;
        else
            runs.push_back({MarkupRun::Kind::Text, std::string(s), 0, 0});
    };
    size_t i = 0;
    while (i < text.size()) {
        size_t open = text.find('{', i);
        if (open == std::string_view::npos) {
            addText(text.substr(i));
            break;
        }
        size_t close = text.find('}', open);
        if (close == std::string_view::npos) {
            addText(text.substr(i));
            break;
        }
        addText(text.substr(i, open - i));
        MarkupRun run;
        if (ParseTag(text.substr(open + 1, close - open - 1), run))
            runs.push_back(std::move(run));
        else
            addText(text.substr(open, close - open + 1));
        i = close + 1;
    }
    return runs;
}

}  // namespace ui
