// Which language file the desktop's locale starts the program in.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/Language.h"
#include "platform/Locale.h"

namespace {

struct LocaleCase {
    const char* locale;
    const char* file;
};

class LocaleLanguage : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleLanguage, PicksTheFile) {
    EXPECT_EQ(app::LanguageFileForLocale(GetParam().locale), GetParam().file) << GetParam().locale;
}

INSTANTIATE_TEST_SUITE_P(
    Locales, LocaleLanguage,
    ::testing::Values(LocaleCase{"fr_CA.UTF-8", "CA-French.xml"}, LocaleCase{"fr_FR.UTF-8", "EU-French.xml"},
                      LocaleCase{"fr_BE@euro", "EU-French.xml"}, LocaleCase{"fr", "EU-French.xml"},
                      LocaleCase{"da_DK.UTF-8", "Denmark.xml"}, LocaleCase{"sv_FI.UTF-8", "Finland.xml"},
                      LocaleCase{"sv_SE.UTF-8", "Sweden.xml"}, LocaleCase{"de_AT.UTF-8", "Germany.xml"},
                      LocaleCase{"nb_NO.UTF-8", "Norway.xml"}, LocaleCase{"nn_NO", "Norway.xml"},
                      LocaleCase{"no", "Norway.xml"}, LocaleCase{"pl_PL.UTF-8", "Poland.xml"},
                      LocaleCase{"pt_BR.UTF-8", "Portuguese.xml"}, LocaleCase{"ru_RU.KOI8-R", "Russian.xml"},
                      LocaleCase{"zh_CN.UTF-8", "SC.xml"}, LocaleCase{"zh_SG", "SC.xml"},
                      LocaleCase{"zh-Hans", "SC.xml"}, LocaleCase{"zh_TW.UTF-8", "TC.xml"},
                      LocaleCase{"zh_HK.Big5-HKSCS", "TC.xml"}, LocaleCase{"zh-Hant-CN", "TC.xml"},
                      LocaleCase{"zh-Hans-HK", "SC.xml"}, LocaleCase{"es_MX.UTF-8", "Spanish.xml"},
                      LocaleCase{"th_TH.UTF-8", "Thailand.xml"}, LocaleCase{"en_GB.UTF-8", "English.xml"},
                      LocaleCase{"DE_de.utf8", "Germany.xml"},
                      // Languages without a file of their own, and no locale at all.
                      LocaleCase{"ja_JP.UTF-8", "English.xml"}, LocaleCase{"C", "English.xml"},
                      LocaleCase{"POSIX", "English.xml"}, LocaleCase{"", "English.xml"},
                      LocaleCase{"frisian", "English.xml"}, LocaleCase{"_DE", "English.xml"}),
    [](const auto& test) {
        std::string name = std::to_string(test.index) + "_" + test.param.locale;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return name;
    });

// The variables in the order gettext reads them; unset means absent.
struct EnvCase {
    const char* language;
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    const char* want;
};

class DesktopLocale : public ::testing::TestWithParam<EnvCase> {
  protected:
    void SetUp() override {
        for (const char* name : kNames)
            if (const char* old = std::getenv(name)) saved_[Index(name)] = old;
    }
    void TearDown() override {
        for (const char* name : kNames)
            Set(name, saved_[Index(name)] ? saved_[Index(name)]->c_str() : nullptr);
    }
    static void Set(const char* name, const char* value) {
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    static size_t Index(const char* name) {
        for (size_t i = 0; i < 4; ++i)
            if (std::string(kNames[i]) == name) return i;
        return 0;
    }
    std::optional<std::string> saved_[4];
};

TEST_P(DesktopLocale, FirstSetVariableWins) {
    const EnvCase& c = GetParam();
    Set("LANGUAGE", c.language);
    Set("LC_ALL", c.lcAll);
    Set("LC_MESSAGES", c.lcMessages);
    Set("LANG", c.lang);
    EXPECT_EQ(platform::DesktopMessagesLocale(), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Environments, DesktopLocale,
    ::testing::Values(EnvCase{nullptr, nullptr, nullptr, "de_DE.UTF-8", "de_DE.UTF-8"},
                      EnvCase{nullptr, nullptr, "ru_RU.UTF-8", "de_DE.UTF-8", "ru_RU.UTF-8"},
                      EnvCase{nullptr, "th_TH.UTF-8", "ru_RU.UTF-8", "de_DE", "th_TH.UTF-8"},
                      EnvCase{"fr_CA:fr:en", "th_TH.UTF-8", nullptr, "de_DE", "fr_CA"},
                      EnvCase{":pl", nullptr, nullptr, "de_DE", "pl"},
                      // Empty is not set.
                      EnvCase{"", "", nullptr, "sv_FI.UTF-8", "sv_FI.UTF-8"},
                      EnvCase{nullptr, nullptr, nullptr, nullptr, ""}));

}  // namespace
