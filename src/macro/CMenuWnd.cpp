#include "macro/CMenuWnd.h"

#include <algorithm>

#include "platform/Trace.h"
#include "ui/builder/AttributeParsers.h"
#include "ui/controls/List.h"
#include "ui/core/Container.h"
#include "ui/core/Messages.h"
#include "ui/core/Toolkit.h"
#include "ui/core/VirtualKeys.h"
#include "ui/layout/LinearLayout.h"

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && ui::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// Moves [lo, hi) into [areaLo, areaHi) without changing its length; to the start when too long.
void KeepInside(int& lo, int& hi, int areaLo, int areaHi) {
    int length = hi - lo;
    if (hi > areaHi) {
        lo = areaHi - length;
        hi = areaHi;
    }
    if (lo < areaLo) {
        lo = areaLo;
        hi = areaLo + length;
    }
}

}  // namespace

CMenuWnd::CMenuWnd() = default;

CMenuWnd::~CMenuWnd() = default;

const std::vector<std::string>& CMenuWnd::Commands() {
    static const std::vector<std::string> commands{
        "menu_Name_New",    "menu_Name_ChangeName", "menu_Name_New_File", "menu_Name_Delete",
        "menu_Name_Export", "menu_Name_Import",     "menu_Content_Edit",  "menu_Content_Delete"};
    return commands;
}

std::string CMenuWnd::SkinFor(std::string_view ownerName) {
    if (ui::EqualsNoCase(ownerName, "listex") || StartsWithNoCase(ownerName, "Marco_Info_list_"))
        return "XML/MarcoNameMenu.xml";
    if (ui::EqualsNoCase(ownerName, "listex1") || StartsWithNoCase(ownerName, "Marco_Content_list_"))
        return "XML/MarcoContentMenu.xml";
    return {};
}

std::unique_ptr<ui::Control> CMenuWnd::CreateRootInCode() {
    return std::make_unique<ui::VerticalLayout>();
}

int CMenuWnd::ContentHeight() const {
    const auto* root = dynamic_cast<const ui::Container*>(GetManager().GetRoot());
    auto* list = Find<ui::List>(kItemList);
    if (!root || !list) return 2 * kShadow;
    return root->GetInset().top + root->GetInset().bottom + list->GetContentHeight();
}

bool CMenuWnd::Init(ui::Control* owner, ui::Point screenPt, const std::vector<std::string>& hidden) {
    owner_ = owner;
    point_ = screenPt;
    ui::PaintManager* ownerManager = owner ? owner->GetManager() : nullptr;
    ui::WindowImplBase* ownerWindow = ownerManager ? ownerManager->GetWindow() : nullptr;
    if (!ownerWindow) return false;
    skin_ = owner ? SkinFor(owner->GetName()) : std::string();

    ui::WindowStyle style;
    style.popup = true;
    style.toolWindow = true;
    if (!Create(ownerWindow, "", style, {screenPt.x, screenPt.y, screenPt.x, screenPt.y})) return false;
    for (const auto& name : hidden)
        if (auto* item = GetManager().FindControl(name)) item->SetVisible(false);

    // The visible menu is the rectangle less its shadow; both stay on the work area.
    ui::Size size = GetManager().GetInitSize();
    int width = size.cx > 0 ? size.cx : 2 * kShadow;
    ui::Rect full{screenPt.x - kShadow, screenPt.y - kShadow, 0, 0};
    full.right = full.left + width;
    full.bottom = full.top + ContentHeight() + 2 * kShadow;
    ui::Rect work = ui::Toolkit::GetBackend().WorkArea();
    KeepInside(full.top, full.bottom, work.top, work.bottom);
    KeepInside(full.left, full.right, work.left, work.right);

    shadow_ = std::make_unique<CShadowWnd>();
    shadow_->Open(*ownerWindow, full);
    SetWindowRect(full.Deflate({kShadow, kShadow, kShadow, kShadow}));
    ShowWindow(true, true);
    if (auto* list = Find<ui::List>(kItemList)) GetManager().SetFocus(list);
    return true;
}

ui::Rect CMenuWnd::FullRect() const {
    ui::Rect r = GetWindowRect();
    return {r.left - kShadow, r.top - kShadow, r.right + kShadow, r.bottom + kShadow};
}

void CMenuWnd::Notify(ui::Notification& n) {
    if (n.type == "itemclick" && n.sender) {
        platform::Trace(n.sender->GetName() + "----" + n.type + ";");
        const auto& commands = Commands();
        auto it = std::find_if(commands.begin(), commands.end(),
                               [&](const std::string& c) { return n.sender->NameIs(c); });
        if (it != commands.end() && owner_ && owner_->GetManager())
            owner_->GetManager()->SendNotify(owner_, *it, 0, 0, true);
    } else if (n.type == "itemselect") {
        Close(0);
    }
}

intptr_t CMenuWnd::HandleMessage(uint32_t message, intptr_t wParam, intptr_t lParam, bool& handled) {
    handled = false;
    if (message == ui::kWmKeyDown && static_cast<uint32_t>(wParam) == ui::kVkEscape) {
        handled = true;
        Close(0);
    }
    return 0;
}

void CMenuWnd::OnNativeFocusChanged(bool focused) {
    ui::WindowImplBase::OnNativeFocusChanged(focused);
    if (!focused && !IsClosed()) Close(0);
}

void CMenuWnd::OnFinalMessage() {
    if (shadow_ && !shadow_->IsClosed()) shadow_->SendMessage(ui::kWmClose, 0, 0);
}
