#include "ui/mini_cells.h"

#include <algorithm>

#include "text/translation.h"
#include "ui/gadget_ids.h"

namespace tarvik {
namespace {

struct BuiltInCell {
  const wchar_t* Key;
  int Row;
  int Column;
  int Width;
  Colour Back;
};

// Meters 28-39 in order.
constexpr BuiltInCell kBuiltInCells[] = {
    {L"Phys", 1, 1, 15, Rgb(255, 255, 255)},   {L"Page", 1, 16, 14, Rgb(255, 224, 192)},
    {L"CPU", 2, 1, 20, Rgb(192, 255, 192)},    {L"Batt", 2, 21, 9, Rgb(255, 203, 255)},
    {L"Uptime", 3, 1, 20, Rgb(153, 204, 255)}, {L"Idle", 3, 21, 9, Rgb(228, 228, 174)},
    {L"R", 4, 15, 8, Rgb(181, 160, 206)},      {L"W", 4, 23, 7, Rgb(181, 160, 206)},
    {L"Ping", 4, 1, 14, Rgb(255, 178, 100)},   {L"[-]", 1, 21, 3, Rgb(255, 255, 0)},
    {L"[+]", 1, 24, 3, Rgb(255, 128, 0)},      {L"[X]", 1, 27, 3, Rgb(255, 0, 0)},
};

bool IsCaptionCell(int meter) {
  return meter >= kMinimizeCellMeter && meter <= kCloseCellMeter;
}

void Place(MeterRecord& meter, const CellMetrics& metrics) {
  meter.X = kCellLeft + (meter.Column - 1) * metrics.CharWidth;
  meter.Y = (meter.Row - 1) * metrics.RowPitch;
}

// Further items and drives take a whole row each.
void PlaceOnRow(MeterRecord& meter, int row, const CellMetrics& metrics) {
  meter.Row = row;
  meter.Column = 1;
  meter.Width = kCellColumns;
  Place(meter, metrics);
}

void Unplace(MeterRecord& meter) {
  meter.Row = 0;
  meter.Width = 0;
}

bool IsFurtherItem(int meter) {
  return meter >= kFirstGpuMeter && meter < kMeterCount;
}

// The drive rows: the drives and their summary row, each placed by its display order.
bool IsDrive(int meter) {
  return meter >= kDriveSummaryMeter && meter <= kLastDriveMeter;
}

bool ShowsOnItsOwnRow(int index, const MeterRecord& meter) {
  return meter.Active && (IsFurtherItem(index) || (IsDrive(index) && meter.DisplayOrder > 0));
}

}  // namespace

void BuildBuiltInCells(Meters& meters, const CellMetrics& metrics, bool compact) {
  int meterIndex = kFirstMiniMeter;
  for (const BuiltInCell& cell : kBuiltInCells) {
    MeterRecord& meter = meters[static_cast<size_t>(meterIndex)];
    meter.Active = !IsCaptionCell(meterIndex);
    meter.Row = cell.Row;
    meter.Column = cell.Column;
    meter.Width = cell.Width;
    meter.BackColour = cell.Back;
    meter.TextColour = 0x000000;
    meter.Key = cell.Key;
    meter.Label = cell.Key[0] == L'[' ? std::wstring(cell.Key) : TrFixed(cell.Key) + L":";
    Place(meter, metrics);
    ++meterIndex;
  }
  meters[kCpuMeter].Text = L" " + TrFixed(L"Calculating   ");
  ApplyCompactCells(meters, metrics, compact);
}

void ApplyCompactCells(Meters& meters, const CellMetrics& metrics, bool compact) {
  MeterRecord& phys = meters[kPhysMeter];
  MeterRecord& page = meters[kPageMeter];
  phys.Label = compact ? L"" : L"Phys:";
  page.Label = compact ? L"" : L"Page:";
  page.Column = compact ? 11 : 16;
  phys.Width = compact ? 10 : 15;
  page.Width = compact ? 10 : 14;
  Place(page, metrics);
  for (int meter = kMinimizeCellMeter; meter <= kCloseCellMeter; ++meter)
    meters[static_cast<size_t>(meter)].Active = compact;
}

void PlaceCells(Meters& meters, const CellMetrics& metrics) {
  for (MeterRecord& meter : meters) {
    if (meter.Row > 0)
      Place(meter, metrics);
  }
}

void LabelDriveCells(Meters& meters) {
  for (int drive = kFirstDriveMeter; drive <= kLastDriveMeter; ++drive) {
    const wchar_t letter = static_cast<wchar_t>(L'A' + drive - kFirstDriveMeter);
    MeterRecord& meter = meters[static_cast<size_t>(drive)];
    meter.Key = std::wstring(1, letter);
  }
}

int LayOutFurtherCells(Meters& meters, const CellMetrics& metrics) {
  int lastRow = kBuiltInRows;
  for (int index = kFirstGpuMeter; index < kMeterCount; ++index) {
    MeterRecord& meter = meters[static_cast<size_t>(index)];
    if (ShowsOnItsOwnRow(index, meter)) {
      PlaceOnRow(meter, ++lastRow, metrics);
    } else {
      Unplace(meter);
    }
  }
  const int drivesAfter = lastRow;
  for (int index = kDriveSummaryMeter; index <= kLastDriveMeter; ++index) {
    MeterRecord& meter = meters[static_cast<size_t>(index)];
    if (ShowsOnItsOwnRow(index, meter)) {
      PlaceOnRow(meter, drivesAfter + meter.DisplayOrder, metrics);
      lastRow = std::max(lastRow, meter.Row);
    } else {
      Unplace(meter);
    }
  }
  return lastRow;
}

bool AwaitsPlace(const Meters& meters, int meter) {
  const MeterRecord& record = meters[static_cast<size_t>(meter)];
  return record.Row == 0 && ShowsOnItsOwnRow(meter, record);
}

platform::Size CellCanvasSize(int rows, const CellMetrics& metrics) {
  return {kCellLeft + kCellColumns * metrics.CharWidth, rows * metrics.RowPitch + kRowOverlap};
}

platform::Rect CellBox(const MeterRecord& meter, const CellMetrics& metrics) {
  return {meter.X, meter.Y, meter.Width * metrics.CharWidth, metrics.RowPitch};
}

std::optional<int> MeterAt(const Meters& meters, platform::Point at, const CellMetrics& metrics) {
  for (int index = 0; index < kMeterCount; ++index) {
    const MeterRecord& meter = meters[static_cast<size_t>(index)];
    if (!meter.Active || meter.Width <= 0)
      continue;
    const platform::Rect box = CellBox(meter, metrics);
    if (at.X >= box.X && at.X < box.Right() && at.Y >= box.Y && at.Y < box.Bottom())
      return index;
  }
  return std::nullopt;
}

std::optional<int> PanelOfMeter(int meter) {
  if (meter == 0 || IsDrive(meter))
    return gadget::StoragePanel;
  if (meter >= kFirstGpuMeter && meter < kFirstAdapterMeter)
    return gadget::GraphicsPanel;
  if (meter >= kFirstAdapterMeter && meter < kMeterCount)
    return gadget::NetworksPanel;
  switch (meter) {
    case kCpuMeter:
      return gadget::ProcessorsPanel;
    case kReadMeter:
    case kWriteMeter:
      return gadget::StoragePanel;
    case kPingMeter:
      return gadget::PingPanel;
    case kMinimizeCellMeter:
    case kRestoreCellMeter:
    case kCloseCellMeter:
      return std::nullopt;
    default:
      return gadget::SystemPanel;
  }
}

}  // namespace tarvik
