#include "ui/layout/SkinPage.h"

#include "platform/Trace.h"

namespace ui {

bool SkinPage::LoadSkin(PaintManager& manager, const std::string& skinFile, Builder::Callback callback) {
    Builder builder;
    auto result = builder.Build(skinFile, manager, std::move(callback), this);
    report_ = result.report;
    if (!report_.Empty()) platform::Trace(report_.ToString());
    return result.ok;
}

}  // namespace ui
