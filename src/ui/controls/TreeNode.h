#pragma once
// One row of a TreeView: a list row with a parent node, child nodes shown below it while it is
// expanded, an indent per level and a folder glyph that expands and collapses it. The glyph's look
// comes from "folderattr", an attribute list (width, visible, normalimage, selectedimage).
#include <string>
#include <vector>

#include "ui/controls/ListItem.h"

namespace ui {

class TreeView;

class TreeNode : public ListLabelElement {
  public:
    std::string_view GetClass() const override { return "TreeNode"; }

    TreeView* GetTreeView() const;
    TreeNode* GetParentNode() const { return parentNode_; }
    const std::vector<TreeNode*>& GetChildNodes() const { return children_; }
    // 0 for top-level nodes.
    int GetLevel() const;
    bool IsExpanded() const { return expanded_; }
    // Through the tree, which shows or hides the descendants.
    void SetExpanded(bool expanded);
    // The node and all its ancestors expanded, so its children are shown.
    bool ChildrenShown() const;
    // Pixels from the row's left edge to the text.
    int TextIndent() const;
    // The glyph's rectangle inside the row.
    Rect FolderRect() const;
    bool FolderVisible() const { return folderVisible_; }

    AttrResult SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(UiEvent& event) override;

  protected:
    void DoPaint(Canvas& canvas, const Rect& dirty) override;

  private:
    friend class TreeView;
    AttrResult SetFolderAttribute(std::string_view name, std::string_view value);

    TreeNode* parentNode_ = nullptr;
    std::vector<TreeNode*> children_;  // owned by the tree's list, in display order
    bool expanded_ = true;
    bool folderVisible_ = true;
    int folderWidth_ = 16;
    std::string folderImage_;          // collapsed
    std::string folderExpandedImage_;  // expanded
};

}  // namespace ui
