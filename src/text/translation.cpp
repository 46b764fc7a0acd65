#include "text/translation.h"

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <utility>

#include "core/guarded.h"

namespace tarvik {
namespace {

using TextMap = std::map<std::wstring, std::wstring, std::less<>>;

// Plain keys and fixed-width keys live apart, so "CPU" and ">CPU" can both exist.
struct TranslationMaps {
  TextMap Texts;
  TextMap FixedTexts;
};

// Monitor threads translate while the window thread does, and a lookup of a missing key adds
// it, so every access goes through the lock.
Guarded<TranslationMaps>& Maps() {
  static Guarded<TranslationMaps> maps;
  return maps;
}

constexpr wchar_t kLeftAlignedMark = L'<';
constexpr wchar_t kRightAlignedMark = L'>';

// Cuts a text to the width keeping its beginning, or pads it with blanks on the aligned side.
std::wstring FitToWidth(std::wstring text, size_t width, bool rightAligned) {
  if (text.size() > width)
    text.resize(width);
  const size_t padding = width - text.size();
  if (rightAligned) {
    text.insert(0, padding, L' ');
  } else {
    text.append(padding, L' ');
  }
  return text;
}

bool IsFixedWidthKey(std::wstring_view key) {
  return !key.empty() && (key.front() == kLeftAlignedMark || key.front() == kRightAlignedMark);
}

// The text a row shows: its translation, or the key's own words where the language has none.
std::wstring ShownText(std::wstring_view name, const wchar_t* translation) {
  std::wstring text = translation != nullptr ? translation : L"";
  if (text.empty())
    text = name;
  return text;
}

void AddRow(TranslationMaps& maps, std::wstring_view key, const wchar_t* translation) {
  const bool fixedWidth = IsFixedWidthKey(key);
  const std::wstring_view name = fixedWidth ? key.substr(1) : key;
  std::wstring text = ShownText(name, translation);
  if (!fixedWidth) {
    maps.Texts.insert_or_assign(std::wstring(name), std::move(text));
    return;
  }
  const bool rightAligned = key.front() == kRightAlignedMark;
  maps.FixedTexts.insert_or_assign(std::wstring(name),
                                   FitToWidth(std::move(text), name.size(), rightAligned));
}

// Calls visit(key, translation) for each whole row before the end mark, in table order. The
// translation is the language's own column, or null where the table has none for it.
template <typename Visit>
void ForEachRow(const TranslationTable& table, int languageId, Visit visit) {
  if (table.ColumnCount < 1)
    return;
  const auto rowLength = static_cast<size_t>(table.ColumnCount);
  // Column 1 is the English key; a language beyond the table's columns shows the keys.
  const bool hasColumn = languageId > kEnglish && languageId <= table.ColumnCount;
  const size_t textOffset = hasColumn ? static_cast<size_t>(languageId - 1) : 0;
  for (size_t row = 0; row < table.Cells.size(); row += rowLength) {
    const wchar_t* key = table.Cells[row];
    if (key == nullptr || std::wstring_view(key) == kTranslationTableEnd)
      break;
    if (row + rowLength > table.Cells.size())
      break;  // a cut-off last row is not read
    visit(std::wstring_view(key), hasColumn ? table.Cells[row + textOffset] : nullptr);
  }
}

std::wstring LookUp(TextMap& map, std::wstring_view key) {
  const auto found = map.find(key);
  if (found != map.end())
    return found->second;
  // The miss becomes an empty entry, so the map lists every key that was asked for.
  map.emplace(std::wstring(key), std::wstring());
  return {};
}

}  // namespace

void LoadTranslations(const TranslationTable& table, int languageId) {
  TranslationMaps loaded;
  ForEachRow(table, languageId, [&loaded](std::wstring_view key, const wchar_t* translation) {
    AddRow(loaded, key, translation);
  });
  *Maps().Lock() = std::move(loaded);
}

void LoadTranslations(int languageId) {
  LoadTranslations(CompiledTranslationTable(), languageId);
}

std::wstring Tr(std::wstring_view key) {
  return LookUp(Maps().Lock()->Texts, key);
}

std::wstring TrFixed(std::wstring_view key) {
  return LookUp(Maps().Lock()->FixedTexts, key);
}

std::wstring TrFor(std::wstring_view key, const TranslationTable& table, int languageId) {
  std::wstring found;
  ForEachRow(table, languageId, [&](std::wstring_view rowKey, const wchar_t* translation) {
    if (!IsFixedWidthKey(rowKey) && rowKey == key)
      found = ShownText(rowKey, translation);  // a later row wins, as when loading
  });
  return found;
}

std::wstring TrFor(std::wstring_view key, int languageId) {
  return TrFor(key, CompiledTranslationTable(), languageId);
}

std::vector<std::wstring> TextsInEveryLanguage(std::wstring_view text) {
  const TranslationTable table = CompiledTranslationTable();
  std::set<std::wstring, std::less<>> keys;
  for (int language = kEnglish; language <= table.ColumnCount; ++language) {
    ForEachRow(table, language, [&](std::wstring_view key, const wchar_t* translation) {
      if (!IsFixedWidthKey(key) && ShownText(key, translation) == text)
        keys.emplace(key);
    });
  }
  std::vector<std::wstring> texts;
  for (const std::wstring& key : keys) {
    for (int language = kEnglish; language <= table.ColumnCount; ++language)
      texts.push_back(TrFor(key, table, language));
  }
  return texts;
}

}  // namespace tarvik
