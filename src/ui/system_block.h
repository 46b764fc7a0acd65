#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvik {

enum class SafeMode { Off, Minimal, WithNetwork };

// What the System tab's information block tells about the machine, gathered by the caller.
struct SystemFacts {
  std::wstring ProcessorName;
  int LogicalProcessors = 0;
  uint64_t TotalPhysicalBytes = 0;
  std::wstring DisplayAdapter;  // the first adapter's description as the system gives it
  int DesktopWidth = 0;
  int DesktopHeight = 0;
  int ScalePercent = 100;
  int ColourDepth = 0;
  int RefreshRate = 0;
  std::wstring OsName;
  int32_t Build = 0;
  SafeMode Safe = SafeMode::Off;
  std::wstring ComputerName;
  std::wstring UserName;
};

// The three lines of the block, each ending in "\r\n": processor and memory, display, system
// and names.
[[nodiscard]] std::wstring SystemBlockText(const SystemFacts& facts);

// Runs of blanks become one blank.
[[nodiscard]] std::wstring CollapseBlanks(std::wstring_view text);

}  // namespace tarvik
