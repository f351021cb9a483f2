#include "mouse/PageNavigation.h"

#include "ui/layout/TabLayout.h"

namespace mouse {

PageNavigation::PageNavigation(const PageNames& names, std::vector<std::string> buttons, std::string tab)
    : names_(names), tab_(names(tab)) {
    for (auto& base : buttons) entries_.push_back({names(base), {}, {}});
}

void PageNavigation::Capture(ui::PaintManager& manager) {
    for (auto& e : entries_) {
        if (auto* b = manager.FindControl(e.name)) {
            e.normalImage = b->GetImage(ui::ImageSlot::Normal);
            e.pushedImage = b->GetImage(ui::ImageSlot::Pushed);
        }
    }
}

void PageNavigation::Reset(ui::PaintManager& manager) {
    for (auto& e : entries_) {
        if (auto* b = manager.FindControl(e.name)) {
            b->SetImage(ui::ImageSlot::Normal, e.normalImage);
            b->SetFont(kNormalFont);
        }
    }
}

void PageNavigation::Select(ui::PaintManager& manager, const std::string& base) {
    std::string name = names_(base);
    for (auto& e : entries_) {
        if (e.name != name) continue;
        if (auto* b = manager.FindControl(e.name)) {
            b->SetImage(ui::ImageSlot::Normal, e.pushedImage);
            b->SetFont(kSelectedFont);
        }
    }
}

void PageNavigation::ShowPage(ui::PaintManager& manager, int page) {
    if (auto* tab = manager.Find<ui::TabLayout>(tab_)) tab->SelectItem(page, ui::Notify::Yes);
}

int PageNavigation::ShownPage(ui::PaintManager& manager) const {
    const auto* tab = manager.Find<ui::TabLayout>(tab_);
    return tab ? tab->GetCurSel() : -1;
}

}  // namespace mouse
