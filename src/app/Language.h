#pragma once
// Language files and the language state: the loader fills the text table from a language file;
// the state remembers the chosen language's name, the language options' fonts and the modifier
// key names used in macro step lists.
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ui/core/PaintManager.h"
#include "ui/render/Canvas.h"

namespace app {

class LanguageLoader {
  public:
    // Created on first use and kept until exit.
    static LanguageLoader& Instance();
    // Loads "Languages/" + `fileName` into the text table. A missing or malformed file adds
    // nothing; returns whether the file was read.
    bool Load(const std::string& fileName);
    // Loads the English file, which holds every text, beneath the start language: whatever that
    // language's file lacks, or a file that cannot be read at all, then shows English instead of
    // a bare reference.
    bool LoadBase();

    static constexpr const char* kBaseFile = "English.xml";

  private:
    LanguageLoader();
    std::unique_ptr<ui::PaintManager> manager_;  // private: the file's fonts touch no window
};

struct LanguageState {
    std::string currentLanguageName;
    std::map<int, ui::FontSpec> languageFontMap;
    // By modifier bit: 0x01 Ctrl, 0x02 Shift, 0x04 Alt, 0x08 Win, 0x80 the fifth name.
    std::map<int, std::string> modifierKeyNames;
};

LanguageState& Languages();
std::string& CurrentLanguageName();

// Re-resolves the five modifier key names from the current text table.
void RefreshModifierKeyNames();

// The language file a desktop locale asks for ("de_DE.UTF-8" -> "Germany.xml"); English for a
// language without a file of its own, for "C" and for an empty locale.
std::string LanguageFileForLocale(std::string_view locale);

}  // namespace app
