#pragma once
// The macro files of one model's macro folder: file name (with ".bin") to its macros, in name order.
#include <map>
#include <string>

#include "records/MacroList.h"

using MacroFileSet = std::map<std::string, MacroList>;
