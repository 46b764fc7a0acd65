// What painting the ping table costs with the most hosts, each with a full history: a full
// redraw and a redraw after one visible row changed, on a canvas of the visible size and, for
// comparison, on one as tall as the whole list. Run by scripts/bench.sh; prints figures, judges
// nothing.
#include <chrono>
#include <cstdio>

#include "fakes/pixel_canvas.h"
#include "monitors/ping/ping_list_painter.h"
#include "text/translation.h"

namespace tarvik {
namespace {

constexpr int kVisibleRows = 40;
constexpr int kRounds = 20;

PingList FullList() {
  PingList hosts(static_cast<size_t>(kMaxPingHosts));
  for (size_t i = 0; i < hosts.size(); ++i) {
    hosts[i].Addr = L"10.0." + std::to_wstring(i / 256) + L"." + std::to_wstring(i % 256);
    hosts[i].Recv = static_cast<int32_t>(i);
    for (size_t s = 0; s < kMaxSamples; ++s)
      hosts[i].PV.push_back({0, static_cast<int32_t>((i + s) % 70) - 4});
  }
  return hosts;
}

template <typename Step>
double MillisecondsPerPaint(Step step) {
  const auto started = std::chrono::steady_clock::now();
  for (int round = 0; round < kRounds; ++round)
    step(round);
  const std::chrono::duration<double, std::milli> spent =
      std::chrono::steady_clock::now() - started;
  return spent.count() / kRounds;
}

void Measure(const char* name, int canvasRows, PingList& hosts) {
  const PingPaintStyle style{.ListBack = Rgb(255, 255, 255), .Timeline = {100, true}};
  fakes::PixelCanvas probe(fakes::PixelCanvas::kCharWidth * 76 + 5 + 1000, 1);
  const PingLayout layout = MeasurePingLayout(probe, platform::kNoFont);
  fakes::PixelCanvas canvas(probe.Extent().Width, layout.RowHeight * canvasRows + 1);
  PingListPainter painter;
  const double full = MillisecondsPerPaint([&](int) {
    painter.Forget();
    painter.Paint(canvas, hosts, layout, 0, style);
  });
  const double oneRow = MillisecondsPerPaint([&](int round) {
    hosts[static_cast<size_t>(round % kVisibleRows)].Recv += 1;
    painter.Paint(canvas, hosts, layout, 0, style);
  });
  const double megabytes = 4.0 * canvas.Extent().Width * canvas.Extent().Height / 1048576.0;
  std::printf(
      "ping list, %s canvas %dx%d (%.1f MB): full redraw %.2f ms, one row changed %.3f ms\n", name,
      canvas.Extent().Width, canvas.Extent().Height, megabytes, full, oneRow);
}

int Run() {
  LoadTranslations(kEnglish);
  PingList hosts = FullList();
  std::printf("ping list: %d hosts with %zu samples each, %d rows in sight\n", kMaxPingHosts,
              kMaxSamples, kVisibleRows);
  Measure("visible", kVisibleRows, hosts);
  Measure("full-height", kMaxPingHosts, hosts);
  return 0;
}

}  // namespace
}  // namespace tarvik

int main() {
  return tarvik::Run();
}
