#pragma once
// Opens a URL or file with the desktop's default handler (the "Open" verb).
#include <string>

namespace platform {

// False when no handler could be started. A text with a URI scheme ("https:", "file:") is used as
// it is; anything else is a file path (relative ones against the current directory).
bool OpenWithDefaultHandler(const std::string& uriOrPath);

// The URI OpenWithDefaultHandler would open for `uriOrPath`; empty for an empty text.
std::string UriForOpen(const std::string& uriOrPath);

}  // namespace platform
