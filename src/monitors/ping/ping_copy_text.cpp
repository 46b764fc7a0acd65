#include "monitors/ping/ping_copy_text.h"

#include "monitors/ping/ping_row.h"

namespace tarvik {

std::wstring PingCopyText(const PingList& hosts) {
  constexpr wchar_t kLineEnd[] = L"\r\n";
  const std::wstring header = PingHeaderText();
  std::wstring text = header + kLineEnd + std::wstring(header.size(), L'-') + kLineEnd;
  for (const PSys& host : hosts)
    text += PingRowText(host) + kLineEnd;
  return text;
}

}  // namespace tarvik
