#include "monitors/network/network_readings.h"

#include "monitors/network/adapter_sample.h"

namespace tarvik {

std::wstring NetworksPanelCopy(const NetworkReadings& readings,
                               const std::vector<std::wstring>& networkEvents) {
  std::wstring text;
  if (!readings.InternetText.empty())
    text += readings.InternetText + L"\r\n";
  for (const AdapterRecord& adapter : readings.Adapters) {
    if (adapter.PanelItem != 0)
      text += AdapterItemText(adapter) + L"\r\n";
  }
  text += L"\r\n";
  for (const std::wstring& line : readings.Information)
    text += line + L"\r\n";
  text += L"\r\n";
  for (const std::wstring& event : networkEvents)
    text += event + L"\r\n";
  return text;
}

}  // namespace tarvik
