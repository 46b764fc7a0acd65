#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/drives.h"

namespace tarvik {

// Runs a piece of work on a thread of its own; false when no thread could take it.
using DriveTaskStarter = std::function<bool(std::function<void()> work)>;

// The drives as the storage monitor asks them: any drive can stop answering (a network share
// gone offline, a dying stick, a disc spinning up, a USB disk that calls itself fixed), so every
// drive but the system's own is asked on a helper thread, and the monitor waits for its
// answer at most `answerWait`. A call that got no answer in time fails and the drive reads as
// unanswered (not as without media), and its calls fail at once until the stuck call has come
// back, so a hung drive costs the other drives one wait, not one every poll. The system drive
// cannot go away while the system runs and is asked directly. Only the storage monitor's thread
// calls it.
class AnsweringDrives : public platform::Drives {
 public:
  // `systemDrive` is the letter of the Windows folder's drive; 0 when unknown (then every drive
  // is asked on a helper).
  AnsweringDrives(platform::Drives& drives, DriveTaskStarter startTask,
                  std::chrono::milliseconds answerWait, wchar_t systemDrive);

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
  [[nodiscard]] bool Unanswered(const std::wstring& driveName) const override;
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
  [[nodiscard]] bool MayHang(const std::wstring& driveName) const;

  platform::Drives& drives_;
  DriveTaskStarter startTask_;
  std::chrono::milliseconds answerWait_;
  wchar_t systemDrive_;  // upper case
  // Per drive letter: set while a call about it is out; the helper clears it when it returns.
  std::map<wchar_t, std::shared_ptr<std::atomic<bool>>> outstanding_;
  // Per drive letter: whether its last call ended without an answer.
  std::map<wchar_t, bool> unanswered_;
};

}  // namespace tarvik
