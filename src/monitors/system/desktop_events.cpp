#include "monitors/system/desktop_events.h"

#include <string_view>

#include "text/translation.h"

namespace tarvik {

DesktopMode DesktopModeOf(const platform::DisplayFacts& facts) {
  return {facts.Width, facts.Height, facts.ScalePercent, facts.ColourDepth, facts.RefreshRate};
}

DesktopMode ReportedDesktop(const Settings& settings) {
  return {settings.Get(opt::ReportedDesktopWidth), settings.Get(opt::ReportedDesktopHeight),
          settings.Get(opt::ReportedDesktopScale), settings.Get(opt::ReportedDesktopColourBits),
          settings.Get(opt::ReportedDesktopRefreshHz)};
}

void KeepReportedDesktop(Settings& settings, const DesktopMode& mode) {
  settings.Set(opt::ReportedDesktopWidth, mode.Width);
  settings.Set(opt::ReportedDesktopHeight, mode.Height);
  settings.Set(opt::ReportedDesktopScale, mode.ScalePercent);
  settings.Set(opt::ReportedDesktopColourBits, mode.ColourBits);
  settings.Set(opt::ReportedDesktopRefreshHz, mode.RefreshHz);
}

std::vector<std::wstring> DesktopChangeEvents(const DesktopMode& last, const DesktopMode& now) {
  std::vector<std::wstring> events;
  auto note = [&events](const std::wstring& name, int oldValue, int newValue,
                        std::wstring_view unit) {
    if (oldValue == newValue)
      return;
    const std::wstring unitText(unit);
    events.push_back(name + L": " + std::to_wstring(oldValue) + unitText + L" -> " +
                     std::to_wstring(newValue) + unitText);
  };
  note(Tr(L"Desktop Width"), last.Width, now.Width, L"");
  note(Tr(L"Desktop Height"), last.Height, now.Height, L"");
  note(Tr(L"Desktop Scale"), last.ScalePercent, now.ScalePercent, L"%");
  note(Tr(L"Desktop Colors"), last.ColourBits, now.ColourBits, L"-bit");
  note(Tr(L"Desktop Frequency"), last.RefreshHz, now.RefreshHz, L"Hz");
  return events;
}

}  // namespace tarvik
