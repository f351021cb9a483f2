#pragma once
// Opens a URL or file with the desktop's default handler (the "Open" verb).
#include <string>

namespace platform {

bool OpenWithDefaultHandler(const std::string& uriOrPath);

}  // namespace platform
