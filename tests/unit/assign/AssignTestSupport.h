#pragma once
// Texts for the label tests: text N reads "T<N>", except text 200, the language name of the AZERTY
// variant, so a resolved reference is told apart from an unresolved one and from a key name. The
// current language is English until a test picks another.
#include <gtest/gtest.h>

#include <string>

#include "assign/LayoutRemap.h"
#include "ui/text/TextTable.h"

inline std::string T(int number) {
    return "T" + std::to_string(number);
}

inline void UseLanguage(std::string name) {
    assign::SetLanguageNameProvider([name] { return name; });
}

// Fills the text table while it lives; empties it and drops the language afterwards.
class TestTexts {
  public:
    TestTexts() {
        ui::TextTable& table = ui::TextTable::Instance();
        table.Clear();
        for (int n = 0; n < 300; ++n) table.Set(n, T(n));
        table.Set(200, "French");
        UseLanguage("English");
    }
    ~TestTexts() {
        assign::SetLanguageNameProvider(nullptr);
        ui::TextTable::Instance().Clear();
    }
    TestTexts(const TestTexts&) = delete;
    TestTexts& operator=(const TestTexts&) = delete;
};

class TextsTest : public ::testing::Test {
  private:
    TestTexts texts_;
};
