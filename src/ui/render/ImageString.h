#pragma once
// Parses DuiLib image strings: either a bare file name or file='..' source='..' corner='..'
// fade='..' dest='..' hole='..'.
#include <string_view>

#include "ui/render/Canvas.h"

namespace ui {

ImageSpec ParseImageString(std::string_view image);

}  // namespace ui
