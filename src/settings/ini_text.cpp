#include "settings/ini_text.h"

#include "text/utf8.h"

namespace tarvik {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

std::wstring LowerAscii(std::wstring_view text) {
  std::wstring lower(text);
  for (wchar_t& c : lower) {
    if (c >= L'A' && c <= L'Z')
      c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return lower;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

// The next line of `rest`, without its line end; `rest` moves past it.
std::string_view NextLine(std::string_view& rest) {
  const size_t end = rest.find('\n');
  const std::string_view line = rest.substr(0, end);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  return line;
}

// Line ends inside a value would split it into lines of their own when written; a lone
// carriage return inside a line read is dropped the same way, so a value reads back as written.
std::wstring OneLine(std::wstring_view value) {
  std::wstring line;
  for (const wchar_t c : value) {
    if (c != L'\r' && c != L'\n')
      line += c;
  }
  return line;
}

// A value cut at kMaxIniValueLength characters. Cutting the bytes first bounds the conversion;
// a UTF-8 character takes at most four bytes.
std::wstring ValueText(std::string_view bytes) {
  std::wstring value = OneLine(FromUtf8(bytes.substr(0, kMaxIniValueLength * 4)));
  if (value.size() > kMaxIniValueLength)
    value.resize(kMaxIniValueLength);
  return value;
}

}  // namespace

std::optional<std::wstring> IniGroup::Find(std::wstring_view key) const {
  const auto found = values_.find(LowerAscii(key));
  if (found == values_.end())
    return std::nullopt;
  return found->second;
}

void IniGroup::Add(std::wstring_view key, std::wstring value) {
  values_.emplace(LowerAscii(key), std::move(value));
}

std::optional<IniGroup> ReadIniGroup(std::string_view bytes, std::wstring_view group) {
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    bytes.remove_prefix(kByteOrderMark.size());
  }
  const std::wstring wanted = LowerAscii(group);
  std::optional<IniGroup> found;
  bool inWanted = false;
  while (!bytes.empty()) {
    const std::string_view line = Trim(NextLine(bytes));
    if (line.empty() || line.front() == ';' || line.front() == '#')
      continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      const std::string_view name =
          close == std::string_view::npos ? "" : line.substr(1, close - 1);
      inWanted = close != std::string_view::npos && LowerAscii(FromUtf8(Trim(name))) == wanted;
      if (inWanted && !found)
        found.emplace();
      continue;
    }
    const size_t equals = line.find('=');
    if (!inWanted || equals == std::string_view::npos)
      continue;
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty() || key.size() > kMaxIniValueLength)
      continue;
    found->Add(FromUtf8(key), ValueText(Trim(line.substr(equals + 1))));
  }
  return found;
}

std::string WriteIniText(std::wstring_view group, const std::vector<IniEntry>& entries) {
  std::string text(kByteOrderMark);
  text += kLineEnd;
  text += "[" + ToUtf8(group) + "]";
  text += kLineEnd;
  for (const IniEntry& entry : entries) {
    const std::wstring value = OneLine(entry.Value);
    if (value.empty())
      continue;
    text += ToUtf8(entry.Key) + " = " + ToUtf8(value);
    text += kLineEnd;
  }
  return text;
}

}  // namespace tarvik
