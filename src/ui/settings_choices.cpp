#include "ui/settings_choices.h"

#include <cstdint>
#include <utility>

#include "settings/long_idle.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int32_t kMinutesPerHour = 60;

constexpr const wchar_t* kTitleBarModes[] = {L"Show Drives (Default)",
                                             L"Show Physical Memory",
                                             L"Show Pagefile Memory",
                                             L"Show CPU Status",
                                             L"Show Battery %",
                                             L"Show Uptime",
                                             L"Show Idle",
                                             L"Show Drives Read/Write",
                                             L"Show Network Sending/Receiving"};

// "1 Minute", "5 Minutes", "1 Hour", "2 Hours"; whole hours from an hour up.
std::wstring DurationEntry(int32_t minutes) {
  if (minutes < kMinutesPerHour)
    return std::to_wstring(minutes) + L" " + (minutes == 1 ? Tr(L"Minute") : Tr(L"Minutes"));
  const int32_t hours = minutes / kMinutesPerHour;
  return std::to_wstring(hours) + L" " + (hours == 1 ? Tr(L"Hour") : Tr(L"Hours"));
}

}  // namespace

SelectorEntries LongIdleEntries(std::wstring_view minutesList, int defaultMinutes) {
  SelectorEntries entries;
  for (const int32_t minutes : LongIdleMinuteFields(minutesList)) {
    const bool disables = minutes < 1;
    std::wstring item = disables ? Tr(L"Disabled") : DurationEntry(minutes);
    if (minutes == defaultMinutes && entries.Selected < 0) {
      item += L" (" + Tr(L"Default") + L")";
      entries.Selected = static_cast<int>(entries.Items.size());
    }
    entries.Items.push_back(std::move(item));
    if (disables)
      break;
  }
  return entries;
}

SelectorEntries TitleBarEntries() {
  SelectorEntries entries;
  for (const wchar_t* mode : kTitleBarModes)
    entries.Items.push_back(Tr(mode));
  entries.Selected = 0;
  return entries;
}

int SelectedEntry(const SelectorEntries& entries, int choice) {
  if (choice >= 0 && choice < static_cast<int>(entries.Items.size()))
    return choice;
  return entries.Selected;
}

}  // namespace tarvik
