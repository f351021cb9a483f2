#pragma once
// Decides whether the French (AZERTY) variant of the key tables applies: the current language's
// display name equals, ignoring case, the resolved text 200.
//
// The language state lives in the app layer, above this one, so app hands its name over through a
// provider installed once at start-up, before any key is named:
//
//     assign::SetLanguageNameProvider([] { return app::CurrentLanguageName(); });
//
// Without a provider the current language name is empty and the remap never applies.
#include <functional>
#include <string>

namespace assign {

using LanguageNameProvider = std::function<std::string()>;

void SetLanguageNameProvider(LanguageNameProvider provider);

// Reads the provider and the text table on every call, so a language switch takes effect at once.
bool LayoutRemapActive();

}  // namespace assign
