#include "ui/system_block.h"

#include "text/decimal_text.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr uint64_t kMebibyte = 1048576;
constexpr uint64_t kGibibyte = 1073741824;
constexpr int kUnscaled = 100;

std::wstring Trimmed(std::wstring_view text) {
  const size_t first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos)
    return {};
  return std::wstring(text.substr(first, text.find_last_not_of(L' ') - first + 1));
}

// A length in desktop pixels as it reads at 100 % text size, to the nearest pixel.
int Unscaled(int pixels, int scalePercent) {
  return static_cast<int>((static_cast<int64_t>(pixels) * kUnscaled + scalePercent / 2) /
                          scalePercent);
}

std::wstring ProcessorLine(const SystemFacts& facts) {
  return CollapseBlanks(facts.ProcessorName) + L" (" + std::to_wstring(facts.LogicalProcessors) +
         L" " + Tr(L"CPU") + L"), " + Tr(L"Memory") + L": " +
         DecimalText(facts.TotalPhysicalBytes, kMebibyte, 0) + L"M (" +
         DecimalText(facts.TotalPhysicalBytes, kGibibyte, 2) + L"G)";
}

std::wstring DisplayLine(const SystemFacts& facts) {
  std::wstring line = CollapseBlanks(Trimmed(facts.DisplayAdapter)) + L" (" +
                      std::to_wstring(facts.DesktopWidth) + L" x " +
                      std::to_wstring(facts.DesktopHeight) + L", " + Tr(L"Text Size") + L" " +
                      std::to_wstring(facts.ScalePercent) + L"%";
  // An unknown scale (0 or less) shows no scaled size rather than dividing by it.
  if (facts.ScalePercent != kUnscaled && facts.ScalePercent > 0) {
    line += L" [" + std::to_wstring(Unscaled(facts.DesktopWidth, facts.ScalePercent)) + L" x " +
            std::to_wstring(Unscaled(facts.DesktopHeight, facts.ScalePercent)) + L"]";
  }
  return line + L", " + std::to_wstring(facts.ColourDepth) + L"-bit " + Tr(L"Color") + L", " +
         std::to_wstring(facts.RefreshRate) + L"Hz)";
}

std::wstring SystemLine(const SystemFacts& facts) {
  std::wstring line =
      Tr(L"OS") + L": " + facts.OsName + L" " + Tr(L"Build") + L": " + std::to_wstring(facts.Build);
  if (facts.Safe == SafeMode::Minimal)
    line += L" [" + Tr(L"Safe Mode") + L"]";
  else if (facts.Safe == SafeMode::WithNetwork)
    line += L" [" + Tr(L"Safe Mode+Network") + L"]";
  return line + L", " + Tr(L"Computer Name") + L": " + facts.ComputerName + L", " +
         Tr(L"User Name") + L": " + facts.UserName;
}

}  // namespace

std::wstring SystemBlockText(const SystemFacts& facts) {
  return ProcessorLine(facts) + L"\r\n" + DisplayLine(facts) + L"\r\n" + SystemLine(facts) +
         L"\r\n";
}

std::wstring CollapseBlanks(std::wstring_view text) {
  std::wstring result;
  result.reserve(text.size());
  for (const wchar_t c : text) {
    if (c != L' ' || result.empty() || result.back() != L' ')
      result += c;
  }
  return result;
}

}  // namespace tarvik
