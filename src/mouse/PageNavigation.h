#pragma once
// The page's own navigation: profile buttons and section buttons beside a tab layout. The active
// buttons show their pushed image as their normal one and the bold font.
#include <string>
#include <vector>

#include "mouse/PageNames.h"
#include "ui/core/PaintManager.h"

namespace mouse {

class PageNavigation {
  public:
    static constexpr int kNormalFont = 3;
    static constexpr int kSelectedFont = 4;

    // `buttons` are the base names ("profile1", "marco_manager", ...) of the navigation buttons.
    PageNavigation(const PageNames& names, std::vector<std::string> buttons, std::string tab);
    // Remembers each button's normal and pushed image as the skin set them.
    void Capture(ui::PaintManager& manager);
    // Every button back to its normal image and font.
    void Reset(ui::PaintManager& manager);
    // Shows the button `base` as selected.
    void Select(ui::PaintManager& manager, const std::string& base);
    void ShowPage(ui::PaintManager& manager, int page);
    // The page the tab layout shows; -1 without one.
    int ShownPage(ui::PaintManager& manager) const;

  private:
    struct Entry {
        std::string name;
        std::string normalImage;
        std::string pushedImage;
    };
    const PageNames& names_;
    std::vector<Entry> entries_;
    std::string tab_;
};

}  // namespace mouse
