#include "ui/render/ImageString.h"

#include "ui/builder/AttributeParsers.h"

namespace ui {

ImageSpec ParseImageString(std::string_view image) {
    ImageSpec spec;
    if (image.find('=') == std::string_view::npos) {
        spec.file = std::string(image);
        return spec;
    }
    auto attrs = ParseAttributeList(image);
    if (!attrs) return spec;  // empty file: nothing is drawn
    for (auto& [name, value] : *attrs) {
        std::string n = ToLower(name);
        if (n == "file" || n == "res")
            spec.file = value;
        else if (n == "source")
            spec.source = ParseRect(value).value_or(Rect{});
        else if (n == "corner")
            spec.corner = ParseRect(value).value_or(Rect{});
        else if (n == "dest")
            spec.dest = ParseRect(value).value_or(Rect{});
        else if (n == "fade")
            spec.fade = std::clamp(ParseInt(value).value_or(255), 0, 255);
        else if (n == "hole")
            spec.hole = ParseBool(value).value_or(false);
    }
    return spec;
}

}  // namespace ui
