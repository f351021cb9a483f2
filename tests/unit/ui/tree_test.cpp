// The tree view as a user meets it: nodes below their parents, expanding and collapsing, what a
// click, a right click and the arrow keys select and notify, and removal keeping the selection.
#include <gtest/gtest.h>

#include "TestWindow.h"
#include "UiDriver.h"
#include "ui/controls/TreeView.h"
#include "ui/core/VirtualKeys.h"

using oaktest::NotificationRecorder;
using oaktest::TestWindow;
using oaktest::UiDriver;
using Seen = std::vector<std::string>;

namespace {

const char* kSkin = R"(
<Window size="300,300">
  <Default name="file_style" value="width=&quot;14&quot;"/>
  <Default name="leaf_style" value="visible=&quot;false&quot;"/>
  <VerticalLayout>
    <TreeView name="tree" height="280" indent="20" itemheight="24">
      <TreeNode name="a" text="A"/>
    </TreeView>
  </VerticalLayout>
</Window>)";

class TreeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.Open();
        ASSERT_TRUE(window.report.Empty()) << window.report.ToString();
        tree = &ui.Find<ui::TreeView>("tree", "TestWindow");
        a = tree->NodeAt(0);
        // A           0
        //   a1        1
        //     a1x     2
        //   a2        3
        // B           4
        a1 = Add("a1", a);
        b = Add("B", nullptr);
        a2 = Add("a2", a);
        a1x = Add("a1x", a1);
        ui.RunUntilIdle();
        recorder = std::make_unique<NotificationRecorder>(window.GetManager());
    }
    ui::TreeNode* Add(const std::string& name, ui::TreeNode* parent) {
        auto node = std::make_unique<ui::TreeNode>();
        node->SetName(name);
        node->SetText(name);
        node->SetAttribute("folderattr",
                           window.GetManager().GetDefaultAttributeList(parent ? "leaf_style" : "file_style"));
        return tree->AddNode(std::move(node), parent);
    }
    std::vector<std::string> Shown() {
        std::vector<std::string> names;
        for (int i = 0; i < tree->GetCount(); ++i)
            if (tree->GetItemAt(i)->IsVisible()) names.push_back(tree->GetItemAt(i)->GetName());
        return names;
    }
    void ClickNode(ui::TreeNode* node) {
        window.GetManager().LayoutIfNeeded();
        ui.ClickAt({node->GetPos().right - 10, node->GetPos().Center().y}, "TestWindow");
    }
    UiDriver ui;
    TestWindow window{kSkin};
    ui::TreeView* tree = nullptr;
    ui::TreeNode *a = nullptr, *a1 = nullptr, *a1x = nullptr, *a2 = nullptr, *b = nullptr;
    std::unique_ptr<NotificationRecorder> recorder;
};

TEST_F(TreeTest, ChildrenFollowTheirParentIndentedByLevel) {
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a", "a1", "a1x", "a2", "B"}));
    EXPECT_EQ(a1x->GetLevel(), 2);
    EXPECT_EQ(a1x->GetParentNode(), a1);
    EXPECT_EQ(a->GetChildNodes(), (std::vector<ui::TreeNode*>{a1, a2}));
    // File nodes show a 14-pixel glyph; leaves none, their text indented by level only.
    EXPECT_EQ(b->TextIndent(), 14 + 4);
    EXPECT_FALSE(a1->FolderVisible());
    EXPECT_EQ(a1x->TextIndent(), 40);
    EXPECT_LT(a1->GetPos().top, a2->GetPos().top);
    EXPECT_EQ(tree->AddNode(nullptr), nullptr);
    ui.Snapshot(::testing::TempDir() + "tree.png", "TestWindow");
}

TEST_F(TreeTest, CollapsingHidesDescendantsAndTakesTheSelectionUp) {
    ClickNode(a1x);
    EXPECT_EQ(recorder->Seen(), (Seen{"itemclick:a1x", "itemselect:tree"}));
    recorder->Clear();
    a->SetExpanded(false);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a", "B"}));
    EXPECT_EQ(tree->GetSelectedNode(), a);
    EXPECT_EQ(recorder->Seen(), (Seen{"itemselect:tree"}));
    // Expanding again keeps a collapsed child's own children hidden.
    a1->SetExpanded(false);
    a->SetExpanded(true);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a", "a1", "a2", "B"}));
    window.GetManager().LayoutIfNeeded();
    EXPECT_EQ(a2->GetPos().top, a1->GetPos().bottom);  // hidden rows take no room

    // The glyph toggles without losing the click's selection; a double click toggles too.
    window.GetManager().LayoutIfNeeded();
    ui.ClickAt(a->FolderRect().Center(), "TestWindow");
    EXPECT_FALSE(a->IsExpanded());
    EXPECT_EQ(tree->GetSelectedNode(), a);
    ui.DoubleClickAt(a->GetPos().Center(), "TestWindow");
    EXPECT_TRUE(a->IsExpanded());
}

TEST_F(TreeTest, ClicksAndKeysSelectShownRowsOnly) {
    a1->SetExpanded(false);
    ClickNode(a);
    struct Case {
        uint32_t key;
        const char* selected;
    };
    const Case cases[] = {
        {ui::kVkDown, "a1"},   {ui::kVkDown, "a2"},   // a1x is hidden
        {ui::kVkUp, "a1"},     {ui::kVkRight, "a1"},  // expands a1
        {ui::kVkRight, "a1x"}, {ui::kVkLeft, "a1"},   // a leaf goes to its parent
        {ui::kVkLeft, "a1"},   {ui::kVkEnd, "B"},    {ui::kVkHome, "a"},
    };
    for (const auto& c : cases) {
        ui.PressKey(c.key);
        ASSERT_NE(tree->GetSelectedNode(), nullptr);
        EXPECT_EQ(tree->GetSelectedNode()->GetName(), c.selected) << "key " << c.key;
    }
    EXPECT_FALSE(a1->IsExpanded());  // the second Left collapsed it

    // Below the rows nothing is selected; a right click there still asks for the menu.
    recorder->Clear();
    window.GetManager().LayoutIfNeeded();
    const ui::Point empty{150, b->GetPos().bottom + 40};
    ui.ClickAt(empty, "TestWindow");
    EXPECT_EQ(tree->GetCurSel(), -1);
    EXPECT_EQ(recorder->Seen(), (Seen{"itemselect:tree"}));
    recorder->Clear();
    ui.RightClick("B", "TestWindow");
    EXPECT_EQ(tree->GetSelectedNode(), b);
    EXPECT_EQ(recorder->Seen(), (Seen{"itemselect:tree", "menu:tree"}));
}

TEST_F(TreeTest, RemovingANodeTakesItsDescendantsAndKeepsTheSelection) {
    ClickNode(b);
    EXPECT_TRUE(tree->RemoveNode(a1));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a", "a2", "B"}));
    EXPECT_EQ(tree->GetSelectedNode(), b);
    EXPECT_EQ(a->GetChildNodes(), (std::vector<ui::TreeNode*>{a2}));
    EXPECT_TRUE(tree->RemoveNode(b));
    EXPECT_EQ(tree->GetCurSel(), -1);
    EXPECT_FALSE(tree->RemoveNode(nullptr));
    // A node added later still lands below its parent's last row.
    Add("a3", a);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"a", "a2", "a3"}));
    tree->RemoveAllNodes();
    EXPECT_EQ(tree->GetCount(), 0);
    EXPECT_EQ(tree->GetCurSel(), -1);
}

TEST(TreeSkinTest, BadFolderAttributesAreReported) {
    UiDriver ui;
    TestWindow window(
        R"(<Window><TreeView name="t" indent="x"><TreeNode folderattr="width=&quot;big&quot;"/><TreeNode folderattr="colour=&quot;1&quot;"/></TreeView></Window>)");
    window.Open();
    EXPECT_EQ(window.report.Problems().size(), 3u) << window.report.ToString();
}

}  // namespace
