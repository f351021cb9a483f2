#include "macro/MarcoListUI.h"

#include <algorithm>
#include <cmath>

#include "ui/core/PaintManager.h"

namespace {

constexpr int kMaxSpeed = 100;

std::unique_ptr<MarcoListUI::Row> NewRoot() {
    auto root = std::make_unique<MarcoListUI::Row>();
    root->level = -1;
    root->expanded = true;
    return root;
}

}  // namespace

MarcoListUI::MarcoListUI() : root_(NewRoot()) {}

MarcoListUI::~MarcoListUI() = default;

std::string MarcoListUI::DisplayText(const Row& row) {
    std::string prefix = "{x 6}";
    for (int i = 0; i < row.level; ++i) prefix += "{x 24}";
    return prefix + row.text;
}

MarcoListUI::Row* MarcoListUI::RowAt(int index) const {
    auto* element = dynamic_cast<ui::ListLabelElement*>(GetItemAt(index));
    return element ? reinterpret_cast<Row*>(element->GetTag()) : nullptr;
}

int MarcoListUI::LastDescendantIndex(const Row& row) const {
    const Row* last = &row;
    while (!last->children.empty()) last = last->children.back().get();
    return last->element ? GetItemIndex(last->element) : -1;
}

MarcoListUI::Row* MarcoListUI::MakeRow(std::string text, Row* parent, int displayIndex, int childIndex) {
    auto row = std::make_unique<Row>();
    row->parent = parent;
    row->level = parent->level + 1;
    row->expanded = parent == root_.get();
    row->text = std::move(text);
    auto element = std::make_unique<ui::ListLabelElement>();
    element->SetText(DisplayText(*row));
    element->SetTag(reinterpret_cast<intptr_t>(row.get()));
    auto* added = dynamic_cast<ui::ListLabelElement*>(AddAt(std::move(element), displayIndex));
    if (!added) return nullptr;  // the row is released with `row`
    row->element = added;
    Row* raw = row.get();
    childIndex = std::clamp(childIndex, 0, static_cast<int>(parent->children.size()));
    parent->children.insert(parent->children.begin() + childIndex, std::move(row));
    return raw;
}

MarcoListUI::Row* MarcoListUI::AddRow(std::string text, Row* parent) {
    if (!parent) parent = root_.get();
    // After the parent's last descendant, so a parent's rows stay together below it.
    int index = parent == root_.get() ? GetCount() : LastDescendantIndex(*parent) + 1;
    return MakeRow(std::move(text), parent, index, static_cast<int>(parent->children.size()));
}

MarcoListUI::Row* MarcoListUI::InsertRow(std::string text, int index, Row* parent) {
    if (!parent) parent = root_.get();
    index = std::clamp(index, 0, GetCount());
    // Among the parent's children, before the first one shown at or after `index`.
    int childIndex = 0;
    for (const auto& child : parent->children) {
        if (child->element && GetItemIndex(child->element) >= index) break;
        ++childIndex;
    }
    return MakeRow(std::move(text), parent, index, childIndex);
}

bool MarcoListUI::RemoveRow(int index) {
    Row* row = RowAt(index);
    if (!row) return false;
    int selected = GetCurSel();
    // Children first, deepest last-shown first, so indices stay valid.
    std::vector<Row*> doomed{row};
    for (size_t i = 0; i < doomed.size(); ++i)
        for (auto& child : doomed[i]->children) doomed.push_back(child.get());
    int removedBefore = 0;
    for (auto it = doomed.rbegin(); it != doomed.rend(); ++it) {
        if (!(*it)->element) continue;
        if (GetItemIndex((*it)->element) < selected) ++removedBefore;
        Remove((*it)->element);
    }
    Row* parent = row->parent;
    std::erase_if(parent->children, [row](const std::unique_ptr<Row>& r) { return r.get() == row; });
    // Keep the selection on the row it was on, or none when that row went away.
    int newSel = selected;
    if (selected >= index && selected < index + static_cast<int>(doomed.size()))
        newSel = -1;
    else if (selected > index)
        newSel = selected - removedBefore;
    if (newSel != selected) SelectItem(newSel, ui::Notify::No);
    NeedUpdate();
    return true;
}

void MarcoListUI::RemoveAllRows() {
    RemoveAll();
    SelectItem(-1, ui::Notify::No);
    root_ = NewRoot();
    SetScrollPos(0);
    NeedUpdate();
}

void MarcoListUI::DoEvent(ui::UiEvent& event) {
    switch (event.type) {
        case ui::EventType::Wheel:
            if (event.wheelDelta != 0) OnWheelNotch(event.wheelDelta > 0);
            event.handled = true;
            return;
        case ui::EventType::Timer:
            if (event.timerId == kScrollTimer) {
                OnScrollTick();
                return;
            }
            break;
        default:
            break;
    }
    ui::List::DoEvent(event);
}

void MarcoListUI::OnWheelNotch(bool up) {
    double remaining = 0;
    if (stepCount_ > 0 && stepsLeft_ > 0) {
        double share = static_cast<double>(stepsLeft_) / stepCount_;
        remaining = share * share * speed_;
    }
    int speed = static_cast<int>(remaining);
    if (up)
        speed += remaining < 0 ? 12 : 8;
    else
        speed -= remaining > 0 ? 12 : 8;
    speed_ = std::clamp(speed, -kMaxSpeed, kMaxSpeed);
    stepCount_ = stepsLeft_ = static_cast<int>(5 * std::sqrt(std::abs(speed_)));
    if (manager_ && stepsLeft_ > 0) manager_->SetTimer(this, kScrollTimer, kScrollTickMs);
}

void MarcoListUI::OnScrollTick() {
    if (stepsLeft_ <= 0 || stepCount_ <= 0) return StopScrolling();
    --stepsLeft_;
    double share = static_cast<double>(stepsLeft_) / stepCount_;
    int d = static_cast<int>(share * share * speed_);
    int before = GetScrollPos();
    // A positive speed scrolls up (towards the first row).
    SetScrollPos(before - d);
    if (stepsLeft_ == 0 || (d != 0 && GetScrollPos() == before)) StopScrolling();
}

void MarcoListUI::StopScrolling() {
    speed_ = stepCount_ = stepsLeft_ = 0;
    if (manager_) manager_->KillTimer(this, kScrollTimer);
}
