// Text references and list-row markup.
#include <gtest/gtest.h>

#include "ui/text/Markup.h"
#include "ui/text/TextTable.h"

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
