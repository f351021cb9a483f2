#include "assign/CaseFold.h"

#include <glib.h>

#include <memory>

#include "assign/Utf16.h"

namespace assign {
namespace {

struct GFreeDeleter {
    void operator()(gchar* p) const { g_free(p); }
};
using GlibText = std::unique_ptr<gchar, GFreeDeleter>;

}  // namespace

std::string CaseFolded(std::string_view utf8) {
    if (utf8.empty()) return {};
    // GLib's folding requires valid input; text from language files is not always valid.
    GlibText valid(g_utf8_make_valid(utf8.data(), static_cast<gssize>(utf8.size())));
    // Decompose first so a folded combining sequence and a precomposed letter meet in one form.
    GlibText decomposed(g_utf8_normalize(valid.get(), -1, G_NORMALIZE_NFD));
    if (!decomposed) return valid.get();
    GlibText folded(g_utf8_casefold(decomposed.get(), -1));
    GlibText normal(g_utf8_normalize(folded.get(), -1, G_NORMALIZE_NFD));
    return normal ? normal.get() : folded.get();
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return a == b || CaseFolded(a) == CaseFolded(b);
}

bool SameTextIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return a == b || CaseFolded(Utf8FromUtf16(a)) == CaseFolded(Utf8FromUtf16(b));
}

}  // namespace assign
