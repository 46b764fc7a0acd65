#include "ui/graph_readout.h"

#include <algorithm>
#include <cmath>

#include "text/date_format.h"
#include "text/translation.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

std::wstring_view ReadoutUnit(int graphId) {
  switch (graphId) {
    case gadget::DriveReadGraph:
    case gadget::DriveWriteGraph:
    case gadget::NetworkSendGraph:
    case gadget::NetworkReceiveGraph:
      return L"KB";
    case kGpuTemperatureGraph:
      return L"C";
    default:
      return L"%";
  }
}

// Rounded half away from zero, held within what the text can show; a value that is not a
// number reads as 0.
long long WholeValue(float value) {
  constexpr double kLimit = 9.0e18;
  const double rounded = std::round(static_cast<double>(value));
  if (std::isnan(rounded))
    return 0;
  return static_cast<long long>(std::clamp(rounded, -kLimit, kLimit));
}

}  // namespace

std::wstring GraphReadout(int canvasWidth, int mouseX, std::span<const GraphSample> samples,
                          int graphId) {
  const long long n = static_cast<long long>(samples.size());
  const long long p = static_cast<long long>(canvasWidth) - mouseX;
  // Column 1 is the newest sample; column 0 lies past the right edge and has none.
  if (p < 1 || p >= n)
    return {};
  const GraphSample& sample = samples[static_cast<size_t>(n - p)];
  return Tr(L"Position") + L": " + std::to_wstring(p) + L"/" + std::to_wstring(n - 1) +
         FormatDate(L" = %yyyy-%mm-%dd  %hh:%ii:%ss  ", sample.Date) +
         std::to_wstring(WholeValue(sample.Value)) + std::wstring(ReadoutUnit(graphId));
}

}  // namespace tarvik
