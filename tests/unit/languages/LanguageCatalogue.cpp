#include "LanguageCatalogue.h"

#include <algorithm>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>

namespace oakridge::test {
namespace {

std::string Where(const std::filesystem::path& path, int line) {
    return path.filename().string() + ":" + std::to_string(line);
}

bool ReadFile(const std::filesystem::path& path, std::string& content) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    content = buffer.str();
    return true;
}

int LineAt(const std::string& content, std::ptrdiff_t offset) {
    offset = std::clamp<std::ptrdiff_t>(offset, 0, static_cast<std::ptrdiff_t>(content.size()));
    return 1 + static_cast<int>(std::count(content.begin(), content.begin() + offset, '\n'));
}

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Plain decimal as the files and the catalogue write it: digits, no leading zero, fits the table.
bool ParsePlainNumber(std::string_view s, unsigned& number) {
    if (!AllDigits(s) || (s.size() > 1 && s[0] == '0')) return false;
    return ReferenceNumber(std::string(s), number);
}

std::string Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return std::string(s.substr(first, last - first + 1));
}

}  // namespace

bool ReferenceNumber(const std::string& digits, unsigned& number) {
    // Nine digits always fit in 32 bits; anything longer is not a number a language file can hold.
    if (!AllDigits(digits) || digits.size() > 9) return false;
    number = static_cast<unsigned>(std::stoul(digits));
    return true;
}

LanguageFile LoadLanguageFile(const std::filesystem::path& path) {
    LanguageFile file;
    std::string content;
    if (!ReadFile(path, content)) {
        file.problems.push_back(path.string() + ": cannot be read");
        return file;
    }
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(content.data(), content.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        file.problems.push_back(Where(path, LineAt(content, parsed.offset)) +
                                ": malformed XML: " + parsed.description());
        return file;
    }
    const pugi::xml_node root = doc.document_element();
    if (std::string_view(root.name()) != "Window") {
        file.problems.push_back(Where(path, LineAt(content, root.offset_debug())) + ": root element is <" +
                                root.name() + ">, expected <Window>");
        return file;
    }
    for (const pugi::xml_node node : root.children()) {
        if (node.type() != pugi::node_element) continue;  // comments between entries are fine
        const int line = LineAt(content, node.offset_debug());
        if (std::string_view(node.name()) != "MultiLanguage") {
            file.problems.push_back(Where(path, line) + ": unexpected element <" + node.name() + ">");
            continue;
        }
        const pugi::xml_attribute id = node.attribute("id");
        const pugi::xml_attribute value = node.attribute("value");
        unsigned number = 0;
        if (!id) {
            file.problems.push_back(Where(path, line) + ": entry without id");
        } else if (!ParsePlainNumber(id.value(), number)) {
            file.problems.push_back(Where(path, line) + ": id \"" + id.value() +
                                    "\" is not a plain decimal number");
        } else if (!value) {
            file.problems.push_back(Where(path, line) + ": entry " + id.value() + " has no value");
        } else if (const auto it = file.entries.find(number); it != file.entries.end()) {
            file.problems.push_back(Where(path, line) + ": entry " + id.value() +
                                    " given twice (first on line " + std::to_string(it->second.line) + ")");
        } else {
            file.entries.emplace(number, LanguageEntry{value.value(), line});
        }
    }
    return file;
}

Catalogue LoadCatalogue(const std::filesystem::path& readme) {
    Catalogue catalogue;
    std::string content;
    if (!ReadFile(readme, content)) {
        catalogue.problems.push_back(readme.string() + ": cannot be read");
        return catalogue;
    }
    std::istringstream in(content);
    std::string text;
    int line = 0;
    enum class Section { Before, Inside, After } where = Section::Before;
    unsigned previous = 0;
    bool anyRow = false;
    while (std::getline(in, text)) {
        ++line;
        const std::string trimmed = Trim(text);
        if (trimmed == "<!-- catalogue:begin -->") {
            where = Section::Inside;
            continue;
        }
        if (trimmed == "<!-- catalogue:end -->") {
            where = Section::After;
            continue;
        }
        if (where != Section::Inside || trimmed.empty()) continue;
        const std::string at = readme.filename().string() + ":" + std::to_string(line);
        if (trimmed.front() != '|' || trimmed.back() != '|') {
            catalogue.problems.push_back(at + ": not a table row");
            continue;
        }
        std::vector<std::string> cells;
        std::string_view rest(trimmed);
        rest = rest.substr(1, rest.size() - 2);
        for (std::size_t bar; (bar = rest.find('|')) != std::string_view::npos; rest = rest.substr(bar + 1))
            cells.push_back(Trim(rest.substr(0, bar)));
        cells.push_back(Trim(rest));
        if (cells.size() != 5) {
            catalogue.problems.push_back(at + ": expected 5 cells, found " + std::to_string(cells.size()));
            continue;
        }
        if (cells[0] == "No." || cells[0].starts_with("---")) continue;  // header and separator
        CatalogueRow row;
        row.line = line;
        if (!ParsePlainNumber(cells[0], row.number)) {
            catalogue.problems.push_back(at + ": \"" + cells[0] + "\" is not a plain decimal number");
            continue;
        }
        if (anyRow && row.number <= previous)
            catalogue.problems.push_back(at + ": number " + cells[0] + " is out of ascending order");
        previous = row.number;
        anyRow = true;
        row.english = cells[1];
        if (row.english.empty() || cells[2].empty() || cells[3].empty())
            catalogue.problems.push_back(at + ": English, label and use must all be filled in");
        std::istringstream flags(cells[4]);
        for (std::string flag; std::getline(flags, flag, ',');) {
            flag = Trim(flag);
            if (flag == "assumed")
                row.assumed = true;
            else if (flag == "same")
                row.same = true;
            else if (!flag.empty())
                catalogue.problems.push_back(at + ": unknown flag \"" + flag + "\"");
        }
        if (!catalogue.rows.emplace(row.number, row).second)
            catalogue.problems.push_back(at + ": number " + cells[0] + " listed twice");
    }
    if (where != Section::After)
        catalogue.problems.push_back(readme.string() + ": catalogue markers missing or unclosed");
    return catalogue;
}

std::vector<TextReference> FindTextReferences(std::string_view text) {
    std::vector<TextReference> found;
    int line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            continue;
        }
        if (text[i] != '%' || text.substr(i + 1, 1) != "{") continue;
        std::size_t end = i + 2;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
        if (end == i + 2 || end >= text.size() || text[end] != '}') continue;
        std::string digits(text.substr(i + 2, end - i - 2));
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
        found.push_back({std::move(digits), line});
        i = end;
    }
    return found;
}

}  // namespace oakridge::test
