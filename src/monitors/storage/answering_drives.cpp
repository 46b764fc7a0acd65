#include "monitors/storage/answering_drives.h"

#include <cwctype>
#include <future>

namespace tarvik {
namespace {

wchar_t LetterOfName(const std::wstring& driveName) {
  return driveName.empty() ? L'\0' : static_cast<wchar_t>(std::towupper(driveName.front()));
}

}  // namespace

AnsweringDrives::AnsweringDrives(platform::Drives& drives, DriveTaskStarter startTask,
                                 std::chrono::milliseconds answerWait, wchar_t systemDrive)
    : drives_(drives),
      startTask_(std::move(startTask)),
      answerWait_(answerWait),
      systemDrive_(systemDrive == L'\0' ? L'\0' : LetterOfName(std::wstring(1, systemDrive))) {}

std::optional<platform::VolumeInformation> AnsweringDrives::Volume(const std::wstring& root) {
  return Ask<std::optional<platform::VolumeInformation>>(
      root, std::nullopt, [root](platform::Drives& drives) { return drives.Volume(root); });
}

std::optional<platform::DriveSpace> AnsweringDrives::Space(const std::wstring& driveName) {
  return Ask<std::optional<platform::DriveSpace>>(
      driveName, std::nullopt,
      [driveName](platform::Drives& drives) { return drives.Space(driveName); });
}

// A share that does not answer reads as one that cannot be reached.
platform::NetworkConnection AnsweringDrives::Connection(const std::wstring& driveName,
                                                        uint32_t length) {
  constexpr uint32_t kConnectionUnavailable = 1201;
  return Ask<platform::NetworkConnection>(driveName,
                                          platform::NetworkConnection{kConnectionUnavailable, L""},
                                          [driveName, length](platform::Drives& drives) {
                                            return drives.Connection(driveName, length);
                                          });
}

std::optional<platform::AudioDisc> AnsweringDrives::Audio(const std::wstring& driveName) {
  return Ask<std::optional<platform::AudioDisc>>(
      driveName, std::nullopt,
      [driveName](platform::Drives& drives) { return drives.Audio(driveName); });
}

bool AnsweringDrives::Stuck(const std::wstring& driveName) const {
  const auto found = outstanding_.find(LetterOfName(driveName));
  return found != outstanding_.end() && found->second->load();
}

bool AnsweringDrives::Unanswered(const std::wstring& driveName) const {
  const auto found = unanswered_.find(LetterOfName(driveName));
  return found != unanswered_.end() && found->second;
}

bool AnsweringDrives::MayHang(const std::wstring& driveName) const {
  return systemDrive_ == L'\0' || LetterOfName(driveName) != systemDrive_;
}

template <typename Result>
Result AnsweringDrives::Ask(const std::wstring& driveName, Result failed,
                            std::function<Result(platform::Drives&)> call) {
  bool& unanswered = unanswered_[LetterOfName(driveName)];
  unanswered = false;
  if (!MayHang(driveName))
    return call(drives_);
  unanswered = true;
  if (Stuck(driveName))
    return failed;
  auto answer = std::make_shared<std::promise<Result>>();
  std::future<Result> future = answer->get_future();
  auto outstanding = std::make_shared<std::atomic<bool>>(true);
  outstanding_[LetterOfName(driveName)] = outstanding;
  platform::Drives& drives = drives_;
  const bool started = startTask_ && startTask_([answer, outstanding, call, &drives] {
                         answer->set_value(call(drives));
                         outstanding->store(false);
                       });
  if (!started) {
    // No helper to be had (the program stops, or too many run): asked here, as before.
    outstanding->store(false);
    unanswered = false;
    return call(drives_);
  }
  if (future.wait_for(answerWait_) != std::future_status::ready)
    return failed;
  try {
    Result result = future.get();
    unanswered = false;
    return result;
  } catch (const std::future_error&) {
    // The helper was let go before it ran the call (the program stops): no answer.
    return failed;
  }
}

}  // namespace tarvik
