#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/drives.h"

namespace tarvik {

// Runs a piece of work on a short-lived thread; false when no thread could start.
using DriveTaskStarter = std::function<bool(std::function<void()> work)>;

// The drives as the storage monitor asks them: a drive that can stop answering (a network share
// gone offline, a dying stick, a disc spinning up) is asked on a short-lived helper, and the
// monitor waits for its answer at most `answerWait`. A drive that did not answer in time counts as
// without a volume, and its calls fail at once until the stuck call has come back, so a hung
// drive costs the other drives one wait, not one every poll. Fixed disks and RAM disks are asked
// directly. Only the storage monitor's thread calls it.
class AnsweringDrives : public platform::Drives {
 public:
  AnsweringDrives(platform::Drives& drives, DriveTaskStarter startTask,
                  std::chrono::milliseconds answerWait)
      : drives_(drives), startTask_(std::move(startTask)), answerWait_(answerWait) {}

  [[nodiscard]] std::optional<std::wstring> PresentLetters() override {
    return drives_.PresentLetters();
  }
  [[nodiscard]] int DriveType(const std::wstring& driveName) override {
    return drives_.DriveType(driveName);
  }
  [[nodiscard]] std::optional<platform::VolumeInformation> Volume(
      const std::wstring& root) override;
  [[nodiscard]] std::optional<platform::DriveSpace> Space(const std::wstring& driveName) override;
  [[nodiscard]] platform::NetworkConnection Connection(const std::wstring& driveName,
                                                       uint32_t length) override;
  [[nodiscard]] std::optional<platform::AudioDisc> Audio(const std::wstring& driveName) override;
  [[nodiscard]] bool OpenFirstDisk() override { return drives_.OpenFirstDisk(); }
  void CloseFirstDisk() override { drives_.CloseFirstDisk(); }
  [[nodiscard]] std::optional<platform::DiskActivity> FirstDiskActivity() override {
    return drives_.FirstDiskActivity();
  }

  // The drive has a call that did not come back yet.
  [[nodiscard]] bool Stuck(const std::wstring& driveName) const;

 private:
  // `call` on a helper, or at once for a drive that cannot hang; `failed` when the drive is
  // stuck or did not answer within the wait.
  template <typename Result>
  Result Ask(const std::wstring& driveName, Result failed,
             std::function<Result(platform::Drives&)> call);
  [[nodiscard]] bool MayHang(const std::wstring& driveName);

  platform::Drives& drives_;
  DriveTaskStarter startTask_;
  std::chrono::milliseconds answerWait_;
  // Per drive letter: set while a call about it is out; the helper clears it when it returns.
  std::map<wchar_t, std::shared_ptr<std::atomic<bool>>> outstanding_;
};

}  // namespace tarvik
