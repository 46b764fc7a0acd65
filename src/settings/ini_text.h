#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik {

// The longest value kept from a settings file; longer values are cut here, so a damaged or
// hostile file cannot make the program hold huge texts.
inline constexpr size_t kMaxIniValueLength = 4096;

// The values of one group of an INI text, found by key without regard to letter case.
class IniGroup {
 public:
  // The value of `key`, or nothing when the group does not hold it.
  [[nodiscard]] std::optional<std::wstring> Find(std::wstring_view key) const;
  // The first value given for a key counts; later repeats are ignored.
  void Add(std::wstring_view key, std::wstring value);
  [[nodiscard]] bool Empty() const { return values_.empty(); }

 private:
  std::map<std::wstring, std::wstring> values_;  // keyed by the lower-cased key
};

struct IniEntry {
  std::wstring Key;
  std::wstring Value;
};

// Reads the group named `group` from UTF-8 INI text, with or without a byte-order mark, with
// CR LF or LF line ends and any spacing around "=". Nothing when the group is missing.
[[nodiscard]] std::optional<IniGroup> ReadIniGroup(std::string_view bytes, std::wstring_view group);

// The text of a file holding one group: byte-order mark, an empty line, "[group]", then
// "Key = value" per entry with a value, every line ended by CR LF.
[[nodiscard]] std::string WriteIniText(std::wstring_view group,
                                       const std::vector<IniEntry>& entries);

}  // namespace tarvik
