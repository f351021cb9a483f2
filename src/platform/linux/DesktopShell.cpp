// OpenWithDefaultHandler on Linux: GIO's default application for the URI (file paths become
// file:// URIs), like ShellExecute's "Open" verb.
#include "platform/DesktopShell.h"

#include <gio/gio.h>

#include "platform/Trace.h"

namespace platform {

namespace {

// "scheme:..." per RFC 3986; at least two characters, so that "C:\x" is not taken for a URI.
bool HasUriScheme(const std::string& text) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    for (size_t i = 0; i < colon; ++i) {
        char c = text[i];
        bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!(alpha || (i > 0 && other))) return false;
    }
    return true;
}

}  // namespace

std::string UriForOpen(const std::string& uriOrPath) {
    if (uriOrPath.empty()) return {};
    if (HasUriScheme(uriOrPath)) return uriOrPath;
    GFile* file = g_file_new_for_path(uriOrPath.c_str());
    char* uri = g_file_get_uri(file);
    std::string result = uri ? uri : "";
    g_free(uri);
    g_object_unref(file);
    return result;
}

bool OpenWithDefaultHandler(const std::string& uriOrPath) {
    std::string uri = UriForOpen(uriOrPath);
    if (uri.empty()) return false;
    GError* error = nullptr;
    gboolean ok = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error);
    if (!ok) {
        Trace("OpenWithDefaultHandler: " + uri + ": " +
              (error && error->message ? error->message : "failed"));
        if (error) g_error_free(error);
        return false;
    }
    return true;
}

}  // namespace platform
