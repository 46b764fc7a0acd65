#pragma once

#include <string>
#include <vector>

namespace tarvik {

// A label/value line of the network information list: the translated label padded with blanks
// to 17 characters (16 when the value begins with "-"), a blank, the value. Values that say
// nothing (empty, "0.0.0.0", "1970-01-01 00:01:00") leave the line out; the value "blank" shows
// the label alone. The label comes translated.
void AddInfoLine(std::vector<std::wstring>& lines, const std::wstring& label,
                 const std::wstring& value);

// The value that shows a label alone.
inline constexpr const wchar_t* kLabelOnly = L"blank";

}  // namespace tarvik
