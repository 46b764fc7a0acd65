#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <string>

namespace tarvik {

// Names of the shared strings: folders, filter values, texts handed to threads, fixed lists.
namespace slot {
inline constexpr int LogpathAsRead = 1;
inline constexpr int PendingDrives = 10;
inline constexpr int DriveLetters = 11;
inline constexpr int DriveLettersPrevious = 12;
inline constexpr int LogFolder = 24;
inline constexpr int ConfigAsRead = 31;
inline constexpr int BaseFolder = 34;
inline constexpr int ColorBarAsRead = 41;
inline constexpr int ColorCpuAsRead = 42;
inline constexpr int ColorBarToWrite = 43;
inline constexpr int ColorCpuToWrite = 44;
inline constexpr int MakerFolderName = 46;
inline constexpr int DigitsAsRead = 47;
inline constexpr int DigitsToWrite = 48;
inline constexpr int OsDescription = 50;
inline constexpr int FilterDrvAsRead = 79;
inline constexpr int FilterNicAsRead = 80;
inline constexpr int FilterDrvToWrite = 81;
inline constexpr int FilterNicToWrite = 82;
inline constexpr int PendingHostNames = 86;   // blank-separated names the resolver still looks up
inline constexpr int PingStatusMessage = 87;  // the ping panel's header message
inline constexpr int ColorGraAsRead = 94;
inline constexpr int ColorGraToWrite = 95;
// Fixed lists placed at start-up.
inline constexpr int ProcessorPropertyFirst = 100;  // 13 WMI property names, 100..112
inline constexpr int BatteryStatusLabel = 113;
inline constexpr int LongIdleList = 114;
inline constexpr int PingIntervalList = 115;
inline constexpr int StatusReady = 116;
inline constexpr int MiniCellLabels = 117;
inline constexpr int GpuBrandList = 118;
inline constexpr int CopyText = 119;
}  // namespace slot

// The shared array of 133 strings behind one lock; reads return copies.
class TextSlots {
 public:
  static constexpr int kCount = 133;

  [[nodiscard]] std::wstring Get(int index) const;
  void Set(int index, std::wstring text);
  // Changes a slot in one step under the lock, so that two threads editing the same slot (the
  // window callback adding pending drive letters while the storage monitor takes them) neither
  // lose nor double a change.
  void Update(int index, const std::function<void(std::wstring&)>& change);
  // Puts `text` in the slot and returns what it held, in one step.
  [[nodiscard]] std::wstring Exchange(int index, std::wstring text);

 private:
  mutable std::mutex mutex_;
  std::array<std::wstring, kCount> texts_;
};

}  // namespace tarvik
