#include "app/Language.h"

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

}  // namespace app
