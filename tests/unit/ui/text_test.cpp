// Text references and list-row markup.
#include <gtest/gtest.h>

#include "ui/text/Markup.h"
#include "ui/text/TextTable.h"
#include "ui/text/Utf8.h"

namespace {

TEST(TextTable, ResolvesReferences) {
    auto& t = ui::TextTable::Instance();
    t.Clear();
    t.Set(88, "Oakridge");
    t.Set(5, "five");
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"%{088}", "Oakridge"},
        {"%{88}", "Oakridge"},
        {"%{0000088}", "Oakridge"},
        {"a %{5} b %{5}", "a five b five"},
        {"%{9999}", "%{9999}"},
        {"%{5", "%{5"},
        {"%{}", "%{}"},
        {"%%{5}", "%five"},
        {"%{5}%{88}", "fiveOakridge"},
        {"%{99999999999999999999}", "%{99999999999999999999}"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(t.Resolve(c.in), c.out) << c.in;
    t.Set(5, "FIVE");  // replaced, others kept
    EXPECT_EQ(t.Resolve("%{5} %{88}"), "FIVE Oakridge");
}

TEST(Utf8, IllFormedSequencesBecomeReplacementCharacters) {
    const std::string r = "\xEF\xBF\xBD";
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80",
         "\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80"},  // é 中 and an emoji
        {"\x80", r},                                 // a lone continuation byte
        {"a\xC3", "a" + r},                          // cut short at the end
        {"\xE2\x82"
         "A",
         r + "A"},                            // cut short before ASCII, which stays
        {"\xF0\x9F\x98", r},                  // one replacement for the whole stub
        {"\xC0\xAF", r + r},                  // overlong
        {"\xE0\x80\x80", r + r + r},          // overlong
        {"\xED\xA0\x80", r + r + r},          // a surrogate
        {"\xF4\x90\x80\x80", r + r + r + r},  // above U+10FFFF
        {"\xFE\xFF", r + r},                  // never in UTF-8
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::MakeValidUtf8(c.in), c.out) << ::testing::PrintToString(c.in);
        EXPECT_EQ(ui::IsValidUtf8(c.in), c.in == c.out) << ::testing::PrintToString(c.in);
    }
}

TEST(Markup, SplitsSpacesImagesAndText) {
    auto runs = ui::ParseMarkup("{x 4}{i key.png 3 2}Press {x 10}A{bogus}");
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].kind, ui::MarkupRun::Kind::Space);
    EXPECT_EQ(runs[0].amount, 4);
    EXPECT_EQ(runs[1].kind, ui::MarkupRun::Kind::Image);
    EXPECT_EQ(runs[1].text, "key.png");
    EXPECT_EQ(runs[1].amount, 3);
    EXPECT_EQ(runs[1].index, 2);
    EXPECT_EQ(runs[2].text, "Press ");
    EXPECT_EQ(runs[3].amount, 10);
    EXPECT_EQ(runs[4].text, "A{bogus}");
}

TEST(Markup, MalformedTagsStayText) {
    for (const char* s : {"{i}", "{x}", "{x -3}", "{i a.png 2 5}", "{i a.png 0}", "{x 1 2}", "{", "}{"}) {
        auto runs = ui::ParseMarkup(s);
        ASSERT_EQ(runs.size(), 1u) << s;
        EXPECT_EQ(runs[0].kind, ui::MarkupRun::Kind::Text) << s;
        EXPECT_EQ(runs[0].text, s);
    }
}

}  // namespace
