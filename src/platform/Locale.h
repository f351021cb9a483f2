#pragma once
// The desktop's language for messages, as the locale environment names it.
#include <string>

namespace platform {

// The first of LANGUAGE (its first entry), LC_ALL, LC_MESSAGES and LANG that is set and not
// empty, e.g. "de_DE.UTF-8"; empty when none is.
std::string DesktopMessagesLocale();

}  // namespace platform
