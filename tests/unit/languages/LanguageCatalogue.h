#pragma once

// Readers for the language files, the text catalogue (res/Skin/Languages/README.md) and the
// text references in skins and code. Every reader reports what it could not read as
// "file:line: message" instead of skipping it, so a check built on them cannot pass by ignoring input.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace oakridge::test {

struct LanguageEntry {
    std::string value;
    int line = 0;
};

struct LanguageFile {
    std::map<unsigned, LanguageEntry> entries;
    std::vector<std::string> problems;
};

// Reads a language file as shipped: root <Window>, only <MultiLanguage id="N" value="..."/> children,
// ids plain decimals without leading zeros, each id once.
LanguageFile LoadLanguageFile(const std::filesystem::path& path);

struct CatalogueRow {
    unsigned number = 0;
    std::string english;
    bool assumed = false;
    bool same = false;  // may read the same as English in other languages
    int line = 0;
};

struct Catalogue {
    std::map<unsigned, CatalogueRow> rows;
    std::vector<std::string> problems;
};

// Reads the table between "<!-- catalogue:begin -->" and "<!-- catalogue:end -->".
Catalogue LoadCatalogue(const std::filesystem::path& readme);

struct TextReference {
    std::string number;  // decimal digits without leading zeros ("0" for zero)
    int line = 0;
};

// Finds every "%{digits}" in text; line numbers count from 1.
std::vector<TextReference> FindTextReferences(std::string_view text);

// The number a normalised reference names, or false when it cannot be a text number at all.
bool ReferenceNumber(const std::string& digits, unsigned& number);

}  // namespace oakridge::test
