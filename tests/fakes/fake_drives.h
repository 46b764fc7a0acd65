#pragma once

#include <array>
#include <atomic>
#include <map>
#include <optional>
#include <string>

#include "platform/drives.h"

namespace tarvik::fakes {

// One drive letter as the fake system reports it; a letter without media has no volume.
struct FakeDrive {
  int Type = 3;
  std::optional<platform::VolumeInformation> Volume;
  std::optional<platform::DriveSpace> Space;
  platform::NetworkConnection Connection;
  std::optional<platform::AudioDisc> Audio;
};

// The drives of a fake machine, by letter; the listed letters follow the map unless a test sets
// them apart (a letter listed whose drive answers no more).
class FakeDrives : public platform::Drives {
 public:
  std::map<wchar_t, FakeDrive> Letters;
  std::optional<std::wstring> Listed;  // what PresentLetters gives, when set
  bool ListFails = false;
  std::optional<platform::DiskActivity> Activity;
  bool DiskOpen = false;
  bool DiskCanOpen = true;
  int DiskOpenTries = 0;
  uint32_t LastConnectionLength = 0;
  // Bytes taken from every drive's free space; a test may change it while a monitor's thread
  // reads the drives.
  std::atomic<int64_t> Written{0};
  // How often the system was asked, for the letters and for each letter's volume and space
  // (index 0 is A:).
  std::atomic<int> LetterReads{0};
  std::array<std::atomic<int>, 26> VolumeReads{};
  std::array<std::atomic<int>, 26> SpaceReads{};

  std::optional<std::wstring> PresentLetters() override {
    ++LetterReads;
    if (ListFails)
      return std::nullopt;
    if (Listed)
      return Listed;
    std::wstring letters;
    for (const auto& [letter, drive] : Letters)
      letters += letter;
    return letters;
  }
  int DriveType(const std::wstring& driveName) override {
    const FakeDrive* drive = Find(driveName);
    return drive ? drive->Type : 1;
  }
  std::optional<platform::VolumeInformation> Volume(const std::wstring& root) override {
    Count(VolumeReads, root);
    const FakeDrive* drive = Find(root);
    return drive ? drive->Volume : std::nullopt;
  }
  std::optional<platform::DriveSpace> Space(const std::wstring& driveName) override {
    Count(SpaceReads, driveName);
    const FakeDrive* drive = Find(driveName);
    if (drive == nullptr || !drive->Space)
      return std::nullopt;
    return platform::DriveSpace{drive->Space->Available - Written, drive->Space->Total};
  }
  platform::NetworkConnection Connection(const std::wstring& driveName, uint32_t length) override {
    LastConnectionLength = length;
    const FakeDrive* drive = Find(driveName);
    return drive ? drive->Connection : platform::NetworkConnection{1200, L""};
  }
  std::optional<platform::AudioDisc> Audio(const std::wstring& driveName) override {
    const FakeDrive* drive = Find(driveName);
    return drive ? drive->Audio : std::nullopt;
  }
  bool OpenFirstDisk() override {
    ++DiskOpenTries;
    DiskOpen = DiskCanOpen;
    return DiskOpen;
  }
  void CloseFirstDisk() override { DiskOpen = false; }
  std::optional<platform::DiskActivity> FirstDiskActivity() override {
    return DiskOpen ? Activity : std::nullopt;
  }

 private:
  static void Count(std::array<std::atomic<int>, 26>& reads, const std::wstring& name) {
    if (!name.empty() && name.front() >= L'A' && name.front() <= L'Z')
      ++reads[static_cast<size_t>(name.front() - L'A')];
  }
  const FakeDrive* Find(const std::wstring& name) const {
    if (name.empty())
      return nullptr;
    const auto found = Letters.find(name.front());
    return found == Letters.end() ? nullptr : &found->second;
  }
};

}  // namespace tarvik::fakes
