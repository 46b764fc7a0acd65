#include "monitors/gpu/panel_rows.h"

#include "monitors/system/text_shapes.h"

namespace tarvik {
namespace {

constexpr size_t kLabelWidth = 20;

}  // namespace

void PanelRows::Add(int status, std::wstring_view label, int64_t number, std::wstring_view value,
                    std::wstring_view suffix) {
  const std::wstring trimmed = system_text::Trimmed(value);
  if ((status != 0 || (number == 0 && trimmed.empty())) && !showErrors_)
    return;
  std::wstring row = showErrors_ ? std::to_wstring(status) + L" " : std::wstring();
  row += label;
  if (label.size() < kLabelWidth)
    row.append(kLabelWidth - label.size(), L' ');
  row += L" ";
  if (number != 0)
    row += std::to_wstring(number);
  rows_.insert(rows_.begin(), row + trimmed + std::wstring(suffix));
}

}  // namespace tarvik
