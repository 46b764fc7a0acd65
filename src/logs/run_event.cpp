#include "logs/run_event.h"

#include "core/version.h"
#include "text/translation.h"

namespace tarvik {

std::wstring RunEventText(RunEvent event) {
  const wchar_t* key = event == RunEvent::Started ? L"started" : L"stopped";
  return std::wstring(kProgramName) + L" v" + kShortVersion + L" " + Tr(key);
}

}  // namespace tarvik
