#include "settings/long_idle.h"

#include "core/fixed_lists.h"

namespace tarvik {
namespace {

constexpr int32_t kSecondsPerMinute = 60;
constexpr int32_t kMaxMinutes = 100000;

// The minutes one field gives, or 0 when it is not a plain number.
int32_t ParseMinutes(std::wstring_view field) {
  int32_t minutes = 0;
  for (const wchar_t c : field) {
    if (c < L'0' || c > L'9' || minutes > kMaxMinutes)
      return 0;
    minutes = minutes * 10 + (c - L'0');
  }
  return minutes;
}

// Field `index` of the comma-separated minutes list, or 0 when it has no such number.
int32_t MinutesAt(std::wstring_view list, int index) {
  for (int field = 0; field < index; ++field) {
    const size_t comma = list.find(L',');
    if (comma == std::wstring_view::npos)
      return 0;
    list.remove_prefix(comma + 1);
  }
  return ParseMinutes(list.substr(0, list.find(L',')));
}

}  // namespace

int32_t LongIdleSeconds(int choice) {
  if (choice < 0 || choice >= kLongIdleChoices)
    return 0;
  return MinutesAt(kLongIdleMinutes, choice) * kSecondsPerMinute;
}

std::vector<int32_t> LongIdleMinuteFields(std::wstring_view list, int maxFields) {
  std::vector<int32_t> fields;
  while (static_cast<int>(fields.size()) < maxFields) {
    const size_t comma = list.find(L',');
    fields.push_back(ParseMinutes(list.substr(0, comma)));
    if (comma == std::wstring_view::npos)
      break;
    list.remove_prefix(comma + 1);
  }
  return fields;
}

}  // namespace tarvik
