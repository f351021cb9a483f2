#include "platform/Locale.h"

#include <cstdlib>

namespace platform {

std::string DesktopMessagesLocale() {
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (!value || !*value) continue;
        // LANGUAGE is a list in order of preference ("fr_CA:fr:en").
        std::string list = value;
        for (size_t at = 0; at <= list.size();) {
            size_t colon = list.find(':', at);
            if (colon == std::string::npos) colon = list.size();
            if (colon > at) return list.substr(at, colon - at);
            at = colon + 1;
        }
    }
    return {};
}

}  // namespace platform
