#pragma once

#include <optional>
#include <string>
#include <vector>

#include "monitors/network/ip_locale_info.h"
#include "text/date_format.h"

namespace tarvik {

// What the network information list shows of the external address: nothing before the first
// successful lookup, then the record of the latest successful one under the time it was made. A
// lookup that fails (no answer, not JSON, not "success", no address) changes nothing: the block
// goes on showing the last record with its time, which tells how old it is.
class LocaleDisplay {
 public:
  // Takes a finished lookup (none: no answer or not JSON). Returns the "External IP" event when
  // a successful lookup saw another address than the one reported last.
  std::optional<std::wstring> Take(const std::optional<IPLocaleInfo>& answer, DateValue now);

  // The block's lines, top to bottom.
  [[nodiscard]] std::vector<std::wstring> Lines() const;
  // ": 2024-03-09 14:05:07", the time of the last successful lookup; empty before it.
  [[nodiscard]] const std::wstring& LookupTime() const { return lookupTime_; }

 private:
  IPLocaleInfo record_;
  std::wstring lookupTime_;
  std::wstring lastExternalIp_;
};

}  // namespace tarvik
