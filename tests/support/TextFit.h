#pragma once
// Finds texts that do not fit their controls in a window as it is laid out now: single-line texts
// wider than the control (less its text padding), wrapped texts taller than it. Returns one line
// per problem, naming the control and the text.
#include <string>
#include <vector>

#include "ui/core/Window.h"

namespace oaktest {

std::vector<std::string> TextFitProblems(ui::WindowImplBase& window);

}  // namespace oaktest
