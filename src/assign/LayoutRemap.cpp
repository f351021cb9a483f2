#include "assign/LayoutRemap.h"

#include <algorithm>
#include <utility>

#include "ui/text/TextTable.h"

namespace assign {
namespace {

LanguageNameProvider& Provider() {
    static LanguageNameProvider provider;
    return provider;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return std::ranges::equal(a, b, [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace

void SetLanguageNameProvider(LanguageNameProvider provider) {
    Provider() = std::move(provider);
}

bool LayoutRemapActive() {
    const LanguageNameProvider& provider = Provider();
    const std::string current = provider ? provider() : std::string();
    // No language chosen yet: nothing to compare, whatever text 200 holds.
    if (current.empty()) return false;
    return EqualIgnoringCase(current, ui::TextTable::Instance().Resolve("%{200}"));
}

}  // namespace assign
