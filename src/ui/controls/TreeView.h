#pragma once
// A list whose rows (TreeNode) form a tree: a node's children follow it, indented, and hide while
// it is collapsed. Selection, "itemclick", "itemselect" and the right-click "menu" are the list's;
// the keys move over shown rows only, Left and Right collapse and expand, and a click below the
// rows selects nothing.
#include <memory>

#include "ui/controls/List.h"
#include "ui/controls/TreeNode.h"

namespace ui {

class TreeView : public List {
  public:
    std::string_view GetClass() const override { return "TreeView"; }

    // Adds `node` as the last child of `parent` (top level when null); null when refused.
    TreeNode* AddNode(std::unique_ptr<TreeNode> node, TreeNode* parent = nullptr);
    // Removes `node` with its descendants; the selection follows the rows that stay.
    bool RemoveNode(TreeNode* node);
    void RemoveAllNodes();
    TreeNode* NodeAt(int index) const;
    TreeNode* GetSelectedNode() const { return NodeAt(GetCurSel()); }
    void SetExpanded(TreeNode* node, bool expanded);
    void ExpandAll(bool expanded);
    int GetIndent() const { return indent_; }

    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(UiEvent& event) override;

  private:
    int LastDescendantIndex(const TreeNode& node) const;
    void ShowChildren(TreeNode& node);
    // The next shown row from `from` in direction `step`, or -1.
    int NextShown(int from, int step) const;

    int indent_ = 20;
};

}  // namespace ui
