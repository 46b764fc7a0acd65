#pragma once

#include "monitors/storage/storage_monitor.h"

namespace tarvik::bench {

// What the storage monitor writes that a bench keeps: its cells, readings and titles.
struct StorageBenchOutputs {
  MeterTable Meters;
  Guarded<DriveTable> Readings;
  TitleBoard Titles;
};

// The storage monitor's targets for a bench of the monitor alone: lines, records, images and
// notices go nowhere. A bench that counts what is drawn sets its own RefreshLayout and
// MeterChanged.
inline StorageTargets SilentStorageTargets(Settings& options, StorageBenchOutputs& outputs) {
  return StorageTargets{.Options = options,
                        .Meters = outputs.Meters,
                        .Readings = outputs.Readings,
                        .Titles = outputs.Titles,
                        .AddDriveEvent = [](const std::wstring&) {},
                        .AddDriveChange = [](const std::wstring&) {},
                        .LogRecord = [](const std::wstring&) {},
                        .SetTrayImage = [](int) {},
                        .RefreshLayout = [] {},
                        .MeterChanged = [](int, bool) {},
                        .DrivesChanged = [] {},
                        .CopyPanel = [](int) {}};
}

}  // namespace tarvik::bench
