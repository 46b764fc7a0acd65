#include "ui/graph_titles.h"

#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

std::wstring Percent(int64_t value) {
  return std::to_wstring(value) + L"%";
}

std::wstring Mhz(int64_t value) {
  return std::to_wstring(value) + L"MHz";
}

std::wstring KbPerSecond(int64_t value) {
  return std::to_wstring(value) + L"KB/s";
}

}  // namespace

GraphValues SystemGraphValues(int graph, const SystemReadings& readings) {
  switch (graph) {
    case gadget::PhysicalGraph:
      return {Percent(readings.PhysicalPercent), L""};
    case gadget::PageFileGraph:
      return {Percent(readings.PageFilePercent), L""};
    case gadget::ProcessorSpeedGraph:
      return {Mhz(readings.MeanMhz), L"(" + Percent(readings.SpeedPercent) + L")"};
    case gadget::AverageLoadGraph:
      return {Percent(readings.AverageLoad), L""};
    case gadget::DriveReadGraph:
      return {KbPerSecond(readings.ReadKbPerSecond), L""};
    case gadget::DriveWriteGraph:
      return {KbPerSecond(readings.WriteKbPerSecond), L""};
    default:
      return {};
  }
}

GraphTitles ProcessorGraphTitles(int processor, int processorCount,
                                 const SystemReadings& readings) {
  if (processor < 0 || static_cast<size_t>(processor) >= readings.Processors.size())
    return {ProcessorLabel(processor, processorCount), L"", L""};
  const ProcessorEntry& entry = readings.Processors[static_cast<size_t>(processor)];
  if (processorCount > kProcessorsShowingSpeed)
    return {entry.Label, Percent(entry.LoadPercent), L""};
  return {entry.Label, Mhz(entry.CurrentMhz), Percent(entry.LoadPercent)};
}

}  // namespace tarvik
