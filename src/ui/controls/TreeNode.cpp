#include "ui/controls/TreeNode.h"

#include <algorithm>

#include "ui/builder/AttributeParsers.h"
#include "ui/controls/TreeView.h"
#include "ui/core/PaintManager.h"
#include "ui/render/Canvas.h"
#include "ui/render/ImageString.h"

namespace ui {

TreeView* TreeNode::GetTreeView() const {
    return dynamic_cast<TreeView*>(parent_);
}

int TreeNode::GetLevel() const {
    int level = 0;
    for (const TreeNode* p = parentNode_; p; p = p->parentNode_) ++level;
    return level;
}

void TreeNode::SetExpanded(bool expanded) {
    if (auto* tree = GetTreeView())
        tree->SetExpanded(this, expanded);
    else
        expanded_ = expanded;
}

bool TreeNode::ChildrenShown() const {
    for (const TreeNode* n = this; n; n = n->parentNode_)
        if (!n->expanded_) return false;
    return true;
}

int TreeNode::TextIndent() const {
    const int indent = GetTreeView() ? GetTreeView()->GetIndent() : 20;
    return GetLevel() * indent + (folderVisible_ ? folderWidth_ + 4 : 0);
}

Rect TreeNode::FolderRect() const {
    const int indent = GetTreeView() ? GetTreeView()->GetIndent() : 20;
    const int left = rect_.left + 8 + GetLevel() * indent;
    const int mid = (rect_.top + rect_.bottom) / 2;
    return {left, mid - folderWidth_ / 2, left + folderWidth_, mid + folderWidth_ - folderWidth_ / 2};
}

AttrResult TreeNode::SetFolderAttribute(std::string_view name, std::string_view value) {
    const std::string n = ToLower(name);
    if (n == "width") {
        auto v = ParseInt(value);
        if (!v || *v < 0 || *v > 64) return AttrResult::BadValue;
        folderWidth_ = *v;
    } else if (n == "visible") {
        auto b = ParseBool(value);
        if (!b) return AttrResult::BadValue;
        folderVisible_ = *b;
    } else if (n == "normalimage") {
        folderImage_ = std::string(value);
    } else if (n == "selectedimage") {
        folderExpandedImage_ = std::string(value);
    } else {
        return AttrResult::Unknown;
    }
    Invalidate();
    return AttrResult::Ok;
}

AttrResult TreeNode::SetAttribute(std::string_view name, std::string_view value) {
    const std::string n = ToLower(name);
    if (n == "folderattr") {
        auto list = ParseAttributeList(value);
        if (!list) return AttrResult::BadValue;
        AttrResult result = AttrResult::Ok;
        for (const auto& [key, v] : *list)
            if (SetFolderAttribute(key, v) != AttrResult::Ok) result = AttrResult::BadValue;
        return result;
    }
    if (n == "expanded") {
        auto b = ParseBool(value);
        if (!b) return AttrResult::BadValue;
        SetExpanded(*b);
        return AttrResult::Ok;
    }
    return ListLabelElement::SetAttribute(name, value);
}

void TreeNode::DoEvent(UiEvent& event) {
    // Rows take no focus themselves; the tree takes it so that the arrow keys work after a click.
    if ((event.type == EventType::ButtonDown || event.type == EventType::RButtonDown) && manager_ &&
        GetTreeView() && IsEffectivelyEnabled())
        manager_->SetFocus(GetTreeView());
    const bool onFolder = folderVisible_ && FolderRect().Deflate({-4, -4, -4, -4}).Contains(event.pt);
    if (IsEffectivelyEnabled() &&
        ((event.type == EventType::ButtonDown && onFolder) || event.type == EventType::DblClick)) {
        if (!children_.empty()) SetExpanded(!expanded_);
        if (event.type == EventType::DblClick) return;
    }
    ListLabelElement::DoEvent(event);
}

void TreeNode::DoPaint(Canvas& canvas, const Rect& dirty) {
    ListOwner* owner = GetOwner();
    if (!owner || !manager_) return Control::DoPaint(canvas, dirty);
    ItemStyle style = owner->GetItemStyle();
    style.textPadding.left += TextIndent();
    PaintListRow(canvas, *manager_, style, rect_, GetResolvedText(), IsSelected(), hot_,
                 IsEffectivelyEnabled(), textColor_);
    if (!folderVisible_ || folderWidth_ == 0) return;
    const Rect box = FolderRect();
    const std::string& image = expanded_ ? folderExpandedImage_ : folderImage_;
    if (!image.empty() && canvas.DrawImage(ParseImageString(image), box)) return;
    if (children_.empty()) return;
    // A chevron: pointing right when collapsed, down when expanded.
    Color color = style.textColor ? style.textColor : 0xFF9AA1AD;
    const Point c = box.Center();
    const int s = std::max(2, folderWidth_ / 3);
    if (expanded_) {
        canvas.DrawLine({c.x - s, c.y - s / 2}, {c.x, c.y + s / 2}, color, 2);
        canvas.DrawLine({c.x, c.y + s / 2}, {c.x + s, c.y - s / 2}, color, 2);
    } else {
        canvas.DrawLine({c.x - s / 2, c.y - s}, {c.x + s / 2, c.y}, color, 2);
        canvas.DrawLine({c.x + s / 2, c.y}, {c.x - s / 2, c.y + s}, color, 2);
    }
}

}  // namespace ui
