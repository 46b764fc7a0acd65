#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/translation_table.h"

namespace tarvik {

// The user's language as chosen at start from the system's default language.
enum LanguageId : int {
  kLanguageUnknown = 0,
  kEnglish = 1,
  kGerman = 2,
  kFrench = 3,
  kSpanish = 4
};

// Fills the two lookup maps from the compiled-in table for the given language. Languages without
// a column of their own show the English keys.
void LoadTranslations(int languageId);
// The same from any table in the stored shape; the column numbered like the language id holds
// the texts shown. A later row for the same key replaces the earlier one.
void LoadTranslations(const TranslationTable& table, int languageId);

// The text shown for an English key; a key missing from the table yields an empty text.
[[nodiscard]] std::wstring Tr(std::wstring_view key);
// The same for the fixed-width keys, given without their "<" or ">" mark: the result always has
// the key's width.
[[nodiscard]] std::wstring TrFixed(std::wstring_view key);

// The text of a plain key in the given language, read straight from the table and leaving the
// loaded maps alone: for texts shown before the user's language is loaded, or in another one.
// A key missing from the table yields an empty text.
[[nodiscard]] std::wstring TrFor(std::wstring_view key, int languageId);
[[nodiscard]] std::wstring TrFor(std::wstring_view key, const TranslationTable& table,
                                 int languageId);

// Every language's text of each plain key that reads `text` in one of the table's languages, the
// key's own words included; empty when no key reads so. A text saved in one language is so still
// recognised after the user has changed language.
[[nodiscard]] std::vector<std::wstring> TextsInEveryLanguage(std::wstring_view text);

}  // namespace tarvik
