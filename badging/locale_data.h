#pragma once
// Locale facts that resource matching needs (CLDR likely scripts, parent locales, representatives).
#include <string>

namespace apk {

// The script a locale is most likely written in ("Latn", "Hans", ...), or empty when unknown.
std::string LikelyScript(const std::string& language, const std::string& region);
// The parent of language-region for a request in script: "en-001" for en-GB in Latn, the bare
// language for most, empty for a locale without region (its parent is the root).
std::string ParentLocale(const std::string& language, const std::string& region, const std::string& script);
// Whether language-script-region is the representative locale of its language and script.
bool IsRepresentativeLocale(const std::string& language, const std::string& region, const std::string& script);

}  // namespace apk
