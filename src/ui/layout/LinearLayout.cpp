#include "ui/layout/LinearLayout.h"

#include <algorithm>

namespace ui {

void LinearLayout::SetPos(const Rect& rect) {
    Control::SetPos(rect);
    const bool vertical = orientation_ == Orientation::Vertical;
    Rect client = rect.Deflate(inset_);
    const int mainSpace = vertical ? client.Height() : client.Width();
    const int crossSpace = vertical ? client.Width() : client.Height();

    // Main-axis size of a child and its margins along that axis.
    auto mainOf = [&](const Control* c, Size sz) { return vertical ? sz.cy : sz.cx; };
    auto crossOf = [&](Size sz) { return vertical ? sz.cx : sz.cy; };
    auto clampMain = [&](const Control* c, int v) { return vertical ? ClampHeight(c, v) : ClampWidth(c, v); };
    auto clampCross = [&](const Control* c, int v) {
        return vertical ? ClampWidth(c, v) : ClampHeight(c, v);
    };
    auto marginsMain = [&](const Control* c) {
        const Rect& p = c->GetPadding();
        return vertical ? p.top + p.bottom : p.left + p.right;
    };

    int fixedTotal = 0, stretchCount = 0, count = 0;
    for (auto& item : items_) {
        Control* c = item.get();
        if (!c->IsVisible() || c->IsFloat()) continue;
        Size sz = c->EstimateSize({client.Width(), client.Height()});
        int m = mainOf(c, sz);
        if (m > 0)
            fixedTotal += clampMain(c, m);
        else
            ++stretchCount;
        fixedTotal += marginsMain(c);
        ++count;
    }
    if (count > 1) fixedTotal += childPadding_ * (count - 1);
    int free = std::max(0, mainSpace - fixedTotal);
    int stretchEach = stretchCount ? free / stretchCount : 0;
    int stretchLeft = stretchCount ? free - stretchEach * stretchCount : 0;

    int cursor = vertical ? client.top : client.left;
    for (auto& item : items_) {
        Control* c = item.get();
        if (!c->IsVisible()) continue;
        if (c->IsFloat()) {
            PlaceFloating(c);
            continue;
        }
        const Rect& pad = c->GetPadding();
        Size sz = c->EstimateSize({client.Width(), client.Height()});
        int m = mainOf(c, sz);
        if (m > 0) {
            m = clampMain(c, m);
        } else {
            m = stretchEach + (--stretchCount == 0 ? stretchLeft : 0);
            m = clampMain(c, m);
        }
        int crossMargins = vertical ? pad.left + pad.right : pad.top + pad.bottom;
        int cross = crossOf(sz) > 0 ? clampCross(c, crossOf(sz)) : clampCross(c, crossSpace - crossMargins);
        Rect rc;
        if (vertical) {
            rc.left = client.left + pad.left;
            rc.top = cursor + pad.top;
            rc.right = rc.left + cross;
            rc.bottom = rc.top + m;
            cursor = rc.bottom + pad.bottom + childPadding_;
        } else {
            rc.left = cursor + pad.left;
            rc.top = client.top + pad.top;
            rc.right = rc.left + m;
            rc.bottom = rc.top + cross;
            cursor = rc.right + pad.right + childPadding_;
        }
        c->SetPos(rc);
    }
}

}  // namespace ui
