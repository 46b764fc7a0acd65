#pragma once

#include <string>

namespace tarvik {

// The program's language from the user's default language id (its primary language, the low
// ten bits): English, German, French, Spanish, or unknown.
[[nodiscard]] int LanguageFromLangId(int langId);
// The first progress line, naming the language in its own words.
[[nodiscard]] std::wstring LanguageProgressLine(int languageId);

}  // namespace tarvik
