#include "settings/filters.h"

#include "settings/hex_digit.h"

namespace tarvik {
namespace {

constexpr std::wstring_view kDriveShape = L"HHHH-HHHH";
constexpr std::wstring_view kAdapterShape = L"HH:HH:HH:HH:HH:HH";
constexpr std::wstring_view kNoDrive = L"0000-0000";
constexpr std::wstring_view kNoAdapter = L"00:00:00:00:00:00";

// `shape` holds "H" where a hexadecimal digit belongs and the separator elsewhere.
bool HasShape(std::wstring_view text, std::wstring_view shape) {
  if (text.size() != shape.size())
    return false;
  for (size_t i = 0; i < shape.size(); ++i) {
    if (shape[i] == L'H' ? HexDigitValue(text[i]) < 0 : text[i] != shape[i])
      return false;
  }
  return true;
}

}  // namespace

std::wstring CheckedDriveFilter(std::wstring_view text) {
  return HasShape(text, kDriveShape) ? std::wstring(text) : std::wstring();
}

std::wstring CheckedAdapterFilter(std::wstring_view text) {
  return HasShape(text, kAdapterShape) ? std::wstring(text) : std::wstring();
}

std::wstring DriveFilterToWrite(std::wstring_view filter) {
  return filter == kNoDrive ? std::wstring() : CheckedDriveFilter(filter);
}

std::wstring AdapterFilterToWrite(std::wstring_view filter) {
  return filter == kNoAdapter ? std::wstring() : CheckedAdapterFilter(filter);
}

}  // namespace tarvik
