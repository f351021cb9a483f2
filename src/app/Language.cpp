#include "app/Language.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "ui/builder/Builder.h"
#include "ui/text/TextTable.h"

namespace app {

LanguageLoader& LanguageLoader::Instance() {
    static LanguageLoader loader;
    return loader;
}

LanguageLoader::LanguageLoader() : manager_(std::make_unique<ui::PaintManager>()) {}

bool LanguageLoader::Load(const std::string& fileName) {
    if (fileName.empty()) return false;
    ui::Builder builder;
    // The control tree a language file yields (normally none) is dropped at once.
    auto result = builder.Build("Languages/" + fileName, *manager_);
    return result.ok;
}

bool LanguageLoader::LoadBase() {
    return Load(kBaseFile);
}

LanguageState& Languages() {
    static LanguageState state;
    return state;
}

std::string& CurrentLanguageName() {
    return Languages().currentLanguageName;
}

void RefreshModifierKeyNames() {
    auto& table = ui::TextTable::Instance();
    auto& names = Languages().modifierKeyNames;
    names[0x01] = table.Resolve("%{015}");
    names[0x02] = table.Resolve("%{017}");
    names[0x04] = table.Resolve("%{016}");
    names[0x08] = table.Resolve("%{195}");
    names[0x80] = table.Resolve("%{196}");
}

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

}  // namespace

std::string LanguageFileForLocale(std::string_view locale) {
    // "language[_territory][.codeset][@modifier]"; BCP 47 tags ("zh-Hant-TW") use '-'.
    locale = locale.substr(0, locale.find_first_of(".@"));
    std::vector<std::string> parts;
    for (size_t at = 0; at <= locale.size();) {
        size_t end = locale.find_first_of("_-", at);
        if (end == std::string_view::npos) end = locale.size();
        parts.push_back(Lower(locale.substr(at, end - at)));
        at = end + 1;
    }
    const std::string& language = parts.front();
    auto has = [&parts](std::initializer_list<const char*> subtags) {
        return std::any_of(parts.begin() + 1, parts.end(), [&](const std::string& part) {
            return std::any_of(subtags.begin(), subtags.end(), [&](const char* tag) { return part == tag; });
        });
    };
    struct Plain {
        const char* language;
        const char* file;
    };
    static constexpr Plain kPlain[] = {
        {"da", "Denmark.xml"}, {"de", "Germany.xml"},  {"nb", "Norway.xml"},     {"nn", "Norway.xml"},
        {"no", "Norway.xml"},  {"pl", "Poland.xml"},   {"pt", "Portuguese.xml"}, {"ru", "Russian.xml"},
        {"es", "Spanish.xml"}, {"th", "Thailand.xml"},
    };
    if (language == "fr") return has({"ca"}) ? "CA-French.xml" : "EU-French.xml";
    if (language == "sv") return has({"fi"}) ? "Finland.xml" : "Sweden.xml";
    // The script when named, else the territories that write Traditional; Simplified otherwise.
    if (language == "zh") return !has({"hans"}) && has({"hant", "tw", "hk", "mo"}) ? "TC.xml" : "SC.xml";
    for (const Plain& p : kPlain)
        if (language == p.language) return p.file;
    return "English.xml";
}

}  // namespace app
