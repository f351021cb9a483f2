#pragma once
// The program's only diagnostic channel: one line to stderr when OAKRIDGE_TRACE is set.
#include <string_view>

namespace platform {

bool TraceEnabled();
void Trace(std::string_view line);

}  // namespace platform
