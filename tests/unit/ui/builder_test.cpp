// Skin documents: what builds, what is reported, and that bad input never crashes.
#include "ui/builder/Builder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "UiDriver.h"
#include "ui/builder/AttributeParsers.h"
#include "ui/controls/Label.h"
#include "ui/core/Container.h"
#include "ui/core/PaintManager.h"
#include "ui/core/Toolkit.h"
#include "ui/text/TextTable.h"

namespace {

struct Built {
    ui::BuildResult result;
    std::string problems() const { return result.report.ToString(); }
};

Built Build(ui::PaintManager& m, const std::string& xml, ui::Builder::Callback cb = nullptr) {
    ui::Builder b;
    return {b.BuildFromString(xml, "t.xml", m, std::move(cb))};
}

class Custom : public ui::Container {
  public:
    std::string_view GetClass() const override { return "Custom"; }
};

TEST(Builder, WindowFontsDefaultsAndTextsAreRead) {
    oaktest::UiDriver ui;
    ui::PaintManager m;
    auto built = Build(m, R"(<Window size="320,200" caption="0,0,0,30">
        <Font id="3" name="Face" size="17" bold="true" default="true"/>
        <Default name="Label" value="textcolor='#FF112233' font='3'"/>
        <MultiLanguage id="0042" value="forty-two"/>
        <MultiLanguage id="-1" value="ignored"/>
        <VerticalLayout><Label name="l" text="%{42}"/></VerticalLayout></Window>)");
    EXPECT_TRUE(built.result.report.Empty()) << built.problems();
    EXPECT_EQ(m.GetInitSize(), (ui::Size{320, 200}));
    EXPECT_EQ(m.GetCaptionRect().bottom, 30);
    EXPECT_EQ(m.GetFont(3).face, "Face");
    EXPECT_TRUE(m.GetDefaultFont().bold);
    auto* root = dynamic_cast<ui::Container*>(built.result.root.get());
    ASSERT_NE(root, nullptr);
    auto* label = root->GetItemAt(0);
    EXPECT_EQ(label->GetTextColor(), 0xFF112233u);
    EXPECT_EQ(label->GetFont(), 3);
    EXPECT_EQ(label->GetResolvedText(), "forty-two");
}

TEST(Builder, CustomClassesGoToTheCallbackWithoutRegardToCase) {
    oaktest::UiDriver ui;
    ui::PaintManager m;
    std::vector<std::string> asked;
    auto built = Build(
        m, R"(<VerticalLayout><mypage name="p"/><Unknown name="u"/><Label name="after"/></VerticalLayout>)",
        [&](std::string_view cls) -> std::unique_ptr<ui::Control> {
            asked.emplace_back(cls);
            if (ui::EqualsNoCase(cls, "MyPage")) return std::make_unique<Custom>();
            return nullptr;
        });
    auto* root = dynamic_cast<ui::Container*>(built.result.root.get());
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->GetCount(), 2);  // the unknown element is left out, the rest loads
    EXPECT_EQ(root->GetItemAt(0)->GetClass(), "Custom");
    EXPECT_EQ(root->GetItemAt(1)->GetName(), "after");
    ASSERT_EQ(built.result.report.Problems().size(), 1u);
    EXPECT_NE(built.problems().find("unknown element <Unknown>"), std::string::npos);
}

TEST(Builder, ProblemsAreReportedWithTheirLine) {
    oaktest::UiDriver ui;
    ui::PaintManager m;
    struct Case {
        const char* xml;
        const char* expected;
        int line;
    };
    const Case cases[] = {
        {"<VerticalLayout>\n<Label bogus=\"1\"/></VerticalLayout>", "unknown attribute 'bogus' on <Label>",
         2},
        {"<VerticalLayout>\n\n<Label width=\"wide\"/></VerticalLayout>", "bad value 'wide' for 'width'", 3},
        {"<VerticalLayout>\n<Label textcolor=\"red\"/></VerticalLayout>", "bad value 'red' for 'textcolor'",
         2},
        {"<VerticalLayout>\n<Label name=\"x\"/>\n<Label name=\"X\"/></VerticalLayout>",
         "duplicate control name 'X' (first at t.xml:2)", 3},
        {"<Label>\n<Button/></Label>", "<Label> cannot hold <Button>", 2},
        {"<Window>\n<Include source=\"XML/nowhere.xml\"/></Window>", "cannot open included file", 2},
        {"<Window>\n<Label/>\n\n<Button/></Window>", "more than one top-level control", 4},
        // A renamed node loses its offset in the parser; the line must survive the repair.
        {"<VerticalLayout>\n\n<Lab\xE9l/></VerticalLayout>", "unknown element", 3},
        {"\xEF\xBB\xBF<VerticalLayout>\n<Label bogus=\"1\"/></VerticalLayout>", "unknown attribute", 2},
        {"<VerticalLayout>\r\n\r\n<Label bogus=\"1\"/></VerticalLayout>", "unknown attribute", 3},
        {"<VerticalLayout>\n<Label\n  width=\"10\"\n  bogus=\"1\"/></VerticalLayout>", "unknown attribute",
         2},
        {"<VerticalLayout>\n<Label text=\"${nothing}\"/></VerticalLayout>", "unknown parameter '${nothing}'",
         2},
    };
    for (const auto& c : cases) {
        auto built = Build(m, c.xml);
        ASSERT_FALSE(built.result.report.Empty()) << c.xml;
        const auto& p = built.result.report.Problems().front();
        EXPECT_NE(p.message.find(c.expected), std::string::npos) << p.message;
        EXPECT_EQ(p.line, c.line) << c.xml;
    }
}

TEST(Builder, MalformedDocumentsGiveAClearErrorAndNoTree) {
    oaktest::UiDriver ui;
    ui::PaintManager m;
    const char* broken[] = {"",
                            "<Window>",
                            "<Window><Label></Window>",
                            "not xml at all",
                            "<a>\n<b>\n</a>",
                            "<VerticalLayout><Label text=\"unterminated/></VerticalLayout>"};
    for (const char* xml : broken) {
        auto built = Build(m, xml);
        EXPECT_FALSE(built.result.ok) << xml;
        EXPECT_EQ(built.result.root, nullptr);
        EXPECT_FALSE(built.result.report.Empty());
    }
    ui::Builder b;
    auto missing = b.Build("XML/does_not_exist.xml", m);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.report.ToString().find("cannot open skin file"), std::string::npos);
}

TEST(Builder, AnyRootElementHoldsTheDocument) {
    oaktest::UiDriver ui;
    ui::PaintManager m;
    auto built =
        Build(m, R"(<Texts><MultiLanguage id="7" value="seven"/><Label name="l" text="%{7}"/></Texts>)");
    EXPECT_TRUE(built.result.ok);
    EXPECT_EQ(ui::TextTable::Instance().Get(7), "seven");
    ASSERT_NE(built.result.root, nullptr);
    EXPECT_EQ(built.result.root->GetResolvedText(), "seven");
    EXPECT_NE(built.problems().find("unknown root element <Texts>"), std::string::npos) << built.problems();
}

// What a file holds reaches the controls, the text table and the report as valid UTF-8.
TEST(Builder, InvalidUtf8IsReplacedWhereItIsRead) {
    oaktest::UiDriver ui;
    ui::PaintManager m;
    const std::string r = "\xEF\xBF\xBD";  // U+FFFD
    auto built = Build(m,
                       "<Window><MultiLanguage id=\"5\" value=\"caf\xC3\"/>"
                       "<MultiLanguage id=\"6\" value=\"&#xD800;x\"/>"
                       "<VerticalLayout>"
                       "<Label name=\"l\" text=\"a\xFF"
                       "b\" tooltip=\"\xE2\x82\" userdata=\"\xC0\xAF\"/>"
                       "<Lab\xE9l/></VerticalLayout></Window>");
    EXPECT_EQ(ui::TextTable::Instance().Get(5), "caf" + r);
    EXPECT_EQ(ui::TextTable::Instance().Get(6), r + r + r + "x");
    auto* root = dynamic_cast<ui::Container*>(built.result.root.get());
    ASSERT_NE(root, nullptr);
    auto* label = root->GetItemAt(0);
    EXPECT_EQ(label->GetText(), "a" + r + "b");
    EXPECT_EQ(label->GetToolTip(), r);
    EXPECT_EQ(label->GetUserData(), r + r);
    EXPECT_NE(built.problems().find("<Lab" + r + "l>"), std::string::npos) << built.problems();
}

// A fault in an included file is reported at its own file and line, and names repeated through
// includes are found like names written twice.
TEST(Builder, ProblemsInIncludedFilesNameThatFile) {
    oaktest::UiDriver ui;
    auto dir = std::filesystem::temp_directory_path() / ("oak-skin-lines-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "XML");
    std::ofstream(dir / "XML/row.xml") << "<Window>\n\n\n<Label name=\"row\" bogus=\"1\"/>\n</Window>";
    ui::Toolkit::SetResourcePath(dir.string());
    ui::PaintManager m;
    auto built =
        Build(m, "<VerticalLayout>\n<Include source=\"XML\\row.xml\" count=\"2\"/></VerticalLayout>");
    const auto& problems = built.result.report.Problems();
    ASSERT_EQ(problems.size(), 3u) << built.problems();
    for (int i : {0, 1}) {
        EXPECT_EQ(problems[i].file, "XML/row.xml");
        EXPECT_EQ(problems[i].line, 4);
    }
    EXPECT_EQ(problems[2].file, "XML/row.xml");
    EXPECT_EQ(problems[2].line, 4);
    EXPECT_NE(problems[2].message.find("duplicate control name 'row'"), std::string::npos);
    std::filesystem::remove_all(dir);
}

// One shared document serves several models: the Include's other attributes fill "${name}" in
// the included document's attribute values, through nested includes too, and a counted include
// numbers its copies.
TEST(Builder, IncludeParametersFillTheIncludedDocument) {
    oaktest::UiDriver ui;
    auto dir = std::filesystem::temp_directory_path() / ("oak-skin-params-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "XML");
    std::ofstream(dir / "XML/body.xml") << R"(<VerticalLayout name="body_${model}">
        <Include source="XML/row.xml" count="2" index="${first}"/>
        <Label name="tail_${model}" text="${model} ${index}" userdata="${label}"/></VerticalLayout>)";
    std::ofstream(dir / "XML/row.xml") << R"(<Label name="row${index}_${model}" text="$${model}}"/>)";
    ui::Toolkit::SetResourcePath(dir.string());
    ui::PaintManager m;
    auto built = Build(m, R"(<VerticalLayout>
        <Include source="XML/body.xml" Model="Ibis" first="3" label=""/>
        <Include source="XML/body.xml" model="Egret" first="1" label="a,b"/></VerticalLayout>)");
    EXPECT_TRUE(built.result.report.Empty()) << built.problems();
    auto* root = dynamic_cast<ui::Container*>(built.result.root.get());
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->GetCount(), 2);
    struct Expect {
        int body;
        int item;
        const char* name;
        const char* text;
    };
    const Expect expected[] = {
        {0, -1, "body_Ibis", ""},        {0, 0, "row3_Ibis", "$Ibis}"},   {0, 1, "row4_Ibis", "$Ibis}"},
        {0, 2, "tail_Ibis", "Ibis 1"},   {1, -1, "body_Egret", ""},       {1, 0, "row1_Egret", "$Egret}"},
        {1, 1, "row2_Egret", "$Egret}"}, {1, 2, "tail_Egret", "Egret 1"},
    };
    for (const auto& e : expected) {
        auto* body = dynamic_cast<ui::Container*>(root->GetItemAt(e.body));
        ASSERT_NE(body, nullptr);
        ASSERT_EQ(body->GetCount(), 3);
        ui::Control* c = e.item < 0 ? body : body->GetItemAt(e.item);
        EXPECT_EQ(c->GetName(), e.name);
        EXPECT_EQ(c->GetText(), e.text) << e.name;
    }
    EXPECT_EQ(dynamic_cast<ui::Container*>(root->GetItemAt(1))->GetItemAt(2)->GetUserData(), "a,b");

    auto bad = Build(m, R"(<VerticalLayout><Include source="XML/row.xml" count="many"/></VerticalLayout>)");
    EXPECT_NE(bad.problems().find("bad value 'many' for 'count'"), std::string::npos) << bad.problems();
    EXPECT_NE(bad.problems().find("unknown parameter '${model}'"), std::string::npos) << bad.problems();
    std::filesystem::remove_all(dir);
}

TEST(Builder, IncludesExpandInPlaceAndCannotRecurseForever) {
    oaktest::UiDriver ui;
    auto dir = std::filesystem::temp_directory_path() / ("oak-skin-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "XML");
    std::ofstream(dir / "XML/part.xml")
        << R"(<Window><Font id="9" name="Part" size="9"/><Label name="inc"/></Window>)";
    std::ofstream(dir / "XML/loop.xml") << R"(<Window><Include source="XML\loop.xml"/></Window>)";
    ui::Toolkit::SetResourcePath(dir.string());
    ui::PaintManager m;
    auto built = Build(m, R"(<VerticalLayout><Include source="XML\part.xml" count="2"/></VerticalLayout>)");
    auto* root = dynamic_cast<ui::Container*>(built.result.root.get());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetCount(), 2);
    EXPECT_EQ(m.GetFont(9).face, "Part");
    auto looped = Build(m, R"(<VerticalLayout><Include source="XML/loop.xml"/></VerticalLayout>)");
    EXPECT_NE(looped.problems().find("nested too deep"), std::string::npos);
    std::ofstream(dir / "XML/many.xml")
        << R"(<Window><Include source="XML/many.xml" count="1000"/></Window>)";
    auto many = Build(m, R"(<VerticalLayout><Include source="XML/many.xml"/></VerticalLayout>)");
    EXPECT_NE(many.problems().find("more than 4096 includes"), std::string::npos);
    std::filesystem::remove_all(dir);
}

}  // namespace
