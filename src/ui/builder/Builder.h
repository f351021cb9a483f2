#pragma once
// Builds a control tree from a skin document: the Window element (size, caption, roundcorner),
// Font, Default, Include and MultiLanguage elements, then the controls. Custom class names go to
// the callback first; unknown elements and attributes and bad values are reported, never fatal.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/builder/BuildReport.h"
#include "ui/core/Control.h"

namespace ui {

class PaintManager;
class Container;

struct BuildResult {
    bool ok = false;                // the document was read (problems may still be reported)
    std::unique_ptr<Control> root;  // the first control, when built without a parent
    Control* first = nullptr;       // the first control, in either case
    BuildReport report;
    std::vector<std::string> includes;  // every document included, as named by its Include
};

class Builder {
  public:
    using Callback = std::function<std::unique_ptr<Control>(std::string_view className)>;

    // `skinPath` is relative to the toolkit's resource path ('\' allowed). Fonts and window
    // settings go to `manager`; with `parent`, the controls are added below it and `root` is the
    // first of them.
    BuildResult Build(const std::string& skinPath, PaintManager& manager, Callback callback = nullptr,
                      Container* parent = nullptr);
    BuildResult BuildFromString(std::string_view xml, const std::string& nameForReports,
                                PaintManager& manager, Callback callback = nullptr,
                                Container* parent = nullptr);

  private:
    struct Impl;
};

}  // namespace ui
