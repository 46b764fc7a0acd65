#pragma once

#include <windows.h>

#include <memory>
#include <mutex>

#include "platform/drives.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_libraries.h"

namespace tarvik::win32 {

// The drives through the kernel's drive functions, mpr.dll's WNetGetConnectionW (while that
// optional library is loaded), MCI's audio-CD device and the first physical disk's performance
// counters. No call shows the system's "no disk in drive" box.
class Win32Drives final : public platform::Drives {
 public:
  explicit Win32Drives(const Win32Libraries& libraries);

  [[nodiscard]] std::optional<std::wstring> PresentLetters() override;
  [[nodiscard]] int DriveType(const std::wstring& driveName) override;
  [[nodiscard]] std::optional<platform::VolumeInformation> Volume(
      const std::wstring& root) override;
  [[nodiscard]] std::optional<platform::DriveSpace> Space(const std::wstring& driveName) override;
  [[nodiscard]] platform::NetworkConnection Connection(const std::wstring& driveName,
                                                       uint32_t length) override;
  [[nodiscard]] std::optional<platform::AudioDisc> Audio(const std::wstring& driveName) override;

  [[nodiscard]] bool OpenFirstDisk() override;
  void CloseFirstDisk() override;
  [[nodiscard]] std::optional<platform::DiskActivity> FirstDiskActivity() override;

 private:
  [[nodiscard]] std::shared_ptr<UniqueHandle> FirstDisk() const;

  const Win32Libraries& libraries_;
  // The window thread opens and closes the disk while the storage monitor reads it: a reader
  // keeps its own reference, so closing never waits for a read nor pulls the handle from under it.
  mutable std::mutex diskMutex_;
  std::shared_ptr<UniqueHandle> firstDisk_;
};

}  // namespace tarvik::win32
