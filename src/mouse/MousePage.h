#pragma once
// The mouse pages' base is the shared device page.
#include "page/DevicePage.h"

namespace mouse {

using MousePage = page::DevicePage;

}  // namespace mouse
