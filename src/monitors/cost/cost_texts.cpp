#include "monitors/cost/cost_texts.h"

#include <algorithm>
#include <array>
#include <utility>

#include "text/decimal_text.h"
#include "text/translation.h"

namespace tarvik {
namespace {

// 100 ns units in a millisecond, over 100 for a percentage.
constexpr uint64_t kCpuUnitsPerPercentMs = 100;
constexpr uint64_t kBytesPerMb = 1'048'576;
constexpr uint64_t kUsPerMs = 1'000;
constexpr size_t kPassCountWidth = 6;
constexpr size_t kShareWidth = 5;
constexpr const wchar_t* kNotRead = L"-";

// The monitors by the names their threads carry, shown by the tab that shows their work.
constexpr std::array<std::pair<const wchar_t*, const wchar_t*>, 6> kMonitorTabs{{
    {L"system sampler", L"System"},
    {L"storage monitor", L"Storage"},
    {L"network monitor", L"Networks"},
    {L"ping coordinator", L"Ping"},
    {L"GPU monitor", L"Graphics"},
    {L"cost monitor", L"About"},
}};

std::wstring ShownName(const std::wstring& monitor) {
  for (const auto& [name, tab] : kMonitorTabs) {
    if (monitor == name)
      return Tr(tab);
  }
  return monitor;
}

std::wstring PaddedTo(std::wstring text, size_t width) {
  if (text.size() < width)
    text.append(width - text.size(), L' ');
  return text;
}

std::wstring RightAligned(const std::wstring& text, size_t width) {
  return text.size() < width ? std::wstring(width - text.size(), L' ') + text : text;
}

// Before any time has passed nothing has been used yet.
std::wstring Shares(const CpuSpan& span, int processors) {
  const uint64_t used = span.WallMs > 0 ? span.CpuTime : 0;
  const uint64_t core =
      static_cast<uint64_t>(std::max<int64_t>(span.WallMs, 1)) * kCpuUnitsPerPercentMs;
  const uint64_t machine = core * static_cast<uint64_t>(processors);
  return RightAligned(DecimalText(used, core, 1), kShareWidth) + L"% " + Tr(L"of one core") +
         L", " + RightAligned(DecimalText(used, machine, 2), kShareWidth) + L"% " +
         Tr(L"of the machine");
}

std::wstring Megabytes(uint64_t bytes) {
  return DecimalText(bytes, kBytesPerMb, 1) + L" " + Tr(L"MB");
}

std::vector<std::wstring> ProcessLines(const std::optional<platform::OwnProcessFigures>& process) {
  const auto shown = [&](auto read) { return process ? read(*process) : std::wstring(kNotRead); };
  using Figures = platform::OwnProcessFigures;
  return {
      Tr(L"Private memory") + L": " +
          shown([](const Figures& f) { return Megabytes(f.PrivateBytes); }) + L", " +
          Tr(L"Working set") + L": " +
          shown([](const Figures& f) { return Megabytes(f.WorkingSetBytes); }),
      Tr(L"Threads") + L": " + shown([](const Figures& f) { return std::to_wstring(f.Threads); }) +
          L", " + Tr(L"Handles") + L": " +
          shown([](const Figures& f) { return std::to_wstring(f.Handles); }) + L", " +
          Tr(L"GDI objects") + L": " +
          shown([](const Figures& f) { return std::to_wstring(f.GdiObjects); }),
  };
}

}  // namespace

std::vector<std::wstring> OwnCostLines(const OwnCost& cost) {
  const int processors = std::max(cost.Processors, 1);
  const std::wstring recent = Tr(L"CPU, last 10 s") + L":";
  const std::wstring sinceStart = Tr(L"CPU, since start") + L":";
  const size_t labelWidth = std::max(recent.size(), sinceStart.size()) + 1;
  std::vector<std::wstring> lines{
      Tr(L"Tarvik's own cost"),
      PaddedTo(recent, labelWidth) + Shares(cost.Recent, processors),
      PaddedTo(sinceStart, labelWidth) + Shares(cost.SinceStart, processors),
  };
  for (std::wstring& line : ProcessLines(cost.Process))
    lines.push_back(std::move(line));
  lines.push_back(Tr(L"Passes in the last minute") + L":");
  size_t nameWidth = 0;
  for (const MonitorPassTotals& monitor : cost.Passes)
    nameWidth = std::max(nameWidth, ShownName(monitor.Monitor).size());
  for (const MonitorPassTotals& monitor : cost.Passes) {
    lines.push_back(L"  " + PaddedTo(ShownName(monitor.Monitor), nameWidth) +
                    RightAligned(std::to_wstring(monitor.PassesLastMinute), kPassCountWidth) +
                    L"  (" +
                    DecimalText(static_cast<uint64_t>(monitor.BusyUsLastMinute), kUsPerMs, 1) +
                    L" " + Tr(L"ms") + L")");
  }
  return lines;
}

std::wstring HighCpuEventText(const std::vector<MonitorPassTotals>& passes) {
  const auto busiest = std::max_element(passes.begin(), passes.end(),
                                        [](const MonitorPassTotals& a, const MonitorPassTotals& b) {
                                          return a.BusyUsLastFiveMinutes < b.BusyUsLastFiveMinutes;
                                        });
  std::wstring text = Tr(L"Tarvik used over 1% of the machine's processors for 5 minutes");
  if (busiest != passes.end())
    text += L"; " + Tr(L"most time in") + L": " + ShownName(busiest->Monitor);
  return text;
}

}  // namespace tarvik
