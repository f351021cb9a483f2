#pragma once
// Built-in control classes by skin element name (case-insensitive), registered explicitly once.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "ui/core/Control.h"

namespace ui {

class ControlFactory {
  public:
    using Maker = std::function<std::unique_ptr<Control>()>;
    static ControlFactory& Instance();
    void Register(std::string_view className, Maker maker);
    // Null for an unknown class.
    std::unique_ptr<Control> Create(std::string_view className) const;
    bool Knows(std::string_view className) const;

  private:
    ControlFactory();
    std::map<std::string, Maker> makers_;
};

}  // namespace ui
