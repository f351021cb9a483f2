#pragma once
// A container whose content comes from its own skin document, built into it on demand. Pages and
// embedded editors derive from it.
#include <string>

#include "ui/builder/Builder.h"
#include "ui/layout/LinearLayout.h"

namespace ui {

class SkinPage : public VerticalLayout {
  public:
    std::string_view GetClass() const override { return "SkinPage"; }
    // Builds `skinFile` below this container with `manager`'s fonts; custom classes go to
    // `callback`. False when the document could not be read (the report says why).
    bool LoadSkin(PaintManager& manager, const std::string& skinFile, Builder::Callback callback = nullptr);
    const BuildReport& GetSkinReport() const { return report_; }

  private:
    BuildReport report_;
};

}  // namespace ui
