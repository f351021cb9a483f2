#include "ui/controls/TreeView.h"

#include <algorithm>

#include "ui/builder/AttributeParsers.h"
#include "ui/core/VirtualKeys.h"

namespace ui {

TreeNode* TreeView::NodeAt(int index) const {
    return dynamic_cast<TreeNode*>(GetItemAt(index));
}

int TreeView::LastDescendantIndex(const TreeNode& node) const {
    const TreeNode* last = &node;
    while (!last->children_.empty()) last = last->children_.back();
    return GetItemIndex(last);
}

TreeNode* TreeView::AddNode(std::unique_ptr<TreeNode> node, TreeNode* parent) {
    if (!node || (parent && parent->GetTreeView() != this)) return nullptr;
    const int at = parent ? LastDescendantIndex(*parent) + 1 : GetCount();
    // Rows after the insertion point move down; the selection stays on its row.
    Control* selected = GetItemAt(GetCurSel());
    node->parentNode_ = parent;
    node->SetVisible(!parent || parent->ChildrenShown());
    auto* added = dynamic_cast<TreeNode*>(AddAt(std::move(node), at));
    if (!added) return nullptr;
    if (parent) parent->children_.push_back(added);
    if (selected) SelectItem(GetItemIndex(selected), Notify::No);
    return added;
}

bool TreeView::RemoveNode(TreeNode* node) {
    if (!node || node->GetTreeView() != this) return false;
    Control* selected = GetItemAt(GetCurSel());
    const int first = GetItemIndex(node);
    const int last = LastDescendantIndex(*node);
    const bool selectionGoes = GetCurSel() >= first && GetCurSel() <= last;
    SelectItem(-1, Notify::No);
    if (TreeNode* parent = node->parentNode_) {
        auto& siblings = parent->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    }
    for (int i = last; i >= first; --i) RemoveAt(i);
    if (!selectionGoes && selected) SelectItem(GetItemIndex(selected), Notify::No);
    return true;
}

void TreeView::RemoveAllNodes() {
    SelectItem(-1, Notify::No);
    RemoveAll();
}

void TreeView::ShowChildren(TreeNode& node) {
    const bool shown = node.ChildrenShown() && node.IsVisible();
    for (TreeNode* child : node.children_) {
        child->SetVisible(shown);
        ShowChildren(*child);
    }
}

void TreeView::SetExpanded(TreeNode* node, bool expanded) {
    if (!node || node->expanded_ == expanded) return;
    node->expanded_ = expanded;
    ShowChildren(*node);
    node->Invalidate();
    // A selected row that is hidden now hands the selection to the node that hid it.
    if (TreeNode* selected = GetSelectedNode(); selected && !selected->IsVisible())
        SelectItem(GetItemIndex(node), Notify::Yes);
}

void TreeView::ExpandAll(bool expanded) {
    for (int i = 0; i < GetCount(); ++i)
        if (TreeNode* n = NodeAt(i); n && !n->children_.empty()) SetExpanded(n, expanded);
}

int TreeView::NextShown(int from, int step) const {
    for (int i = from + step; i >= 0 && i < GetCount(); i += step)
        if (GetItemAt(i)->IsVisible()) return i;
    return -1;
}

AttrResult TreeView::SetAttribute(std::string_view name, std::string_view value) {
    if (EqualsNoCase(name, "indent")) {
        auto v = ParseInt(value);
        if (!v || *v < 0 || *v > 200) return AttrResult::BadValue;
        indent_ = *v;
        NeedUpdate();
        return AttrResult::Ok;
    }
    return List::SetAttribute(name, value);
}

void TreeView::DoEvent(UiEvent& event) {
    if (event.type == EventType::ButtonDown || event.type == EventType::RButtonDown) {
        // Below the rows: nothing is selected, so a new file can be made or imported.
        if (IsEffectivelyEnabled()) SelectItem(-1, Notify::Yes);
        return;
    }
    if (event.type != EventType::KeyDown) return List::DoEvent(event);
    const int current = GetCurSel();
    TreeNode* node = GetSelectedNode();
    int next = -1;
    switch (event.key) {
        case kVkUp:
            next = NextShown(current < 0 ? GetCount() : current, -1);
            break;
        case kVkDown:
            next = NextShown(current, 1);
            break;
        case kVkHome:
            next = NextShown(-1, 1);
            break;
        case kVkEnd:
            next = NextShown(GetCount(), -1);
            break;
        case kVkLeft:
            if (node && node->IsExpanded() && !node->children_.empty())
                SetExpanded(node, false);
            else if (node && node->parentNode_)
                next = GetItemIndex(node->parentNode_);
            break;
        case kVkRight:
            if (node && !node->IsExpanded())
                SetExpanded(node, true);
            else if (node && !node->children_.empty())
                next = GetItemIndex(node->children_.front());
            break;
        default:
            return List::DoEvent(event);
    }
    if (next >= 0 && next != current) SelectItem(next, Notify::Yes);
    event.handled = true;
}

}  // namespace ui
