#pragma once

#include <cstdint>
#include <span>

namespace tarvik {

// A translation table in its stored shape: the number of columns, then row after row the
// English key followed by one text per further column, ended by the key "_END_". Column 1 is
// the key itself (English); column n holds the texts of the language whose id is n. A key may
// start with "<" (fixed width, left-aligned) or ">" (fixed width, right-aligned); its width is
// its length without the mark.
struct TranslationTable {
  int32_t ColumnCount = 0;
  std::span<const wchar_t* const> Cells;
};

inline constexpr const wchar_t* kTranslationTableEnd = L"_END_";

// The table compiled into the program, with English keys and German texts.
[[nodiscard]] TranslationTable CompiledTranslationTable();

}  // namespace tarvik
