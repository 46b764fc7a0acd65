#include "platform/win32/win32_drives.h"

#include <mmsystem.h>
#include <winioctl.h>
#include <winnetwk.h>

#include <algorithm>
#include <cwchar>
#include <limits>
#include <string>

#include "platform/os_call_count.h"
#include "platform/win32/library_loading.h"
#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

constexpr DWORD kLabelLength = 261;
constexpr DWORD kFileSystemLength = 32;
constexpr UINT kMciAnswerLength = 64;
constexpr int kMillisecondsPerSecond = 1000;
constexpr const wchar_t* kFirstDiskPath = L"\\\\.\\PhysicalDrive0";

// mpr.dll's functions the drives use, each null when the library or the function is missing.
struct NetworkProviderFunctions {
  decltype(&::WNetGetConnectionW) GetConnection = nullptr;

  static NetworkProviderFunctions Bind(HMODULE mpr) {
    NetworkProviderFunctions functions;
    if (mpr)
      functions.GetConnection =
          ProcAddress<decltype(&::WNetGetConnectionW)>(mpr, "WNetGetConnectionW");
    return functions;
  }
};

// While it lives, a drive without media fails its calls at once instead of asking the user to
// insert a disk in a box that would hold this thread.
class QuietDriveErrors {
 public:
  QuietDriveErrors() {
    ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_);
  }
  ~QuietDriveErrors() { ::SetThreadErrorMode(previous_, nullptr); }
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  DWORD previous_ = 0;
};

// "C:" becomes the root "C:\" that the drive functions expect.
std::wstring RootOf(const std::wstring& driveName) {
  return !driveName.empty() && driveName.back() == L':' ? driveName + L"\\" : driveName;
}

int64_t ByteCount(const ULARGE_INTEGER& bytes) {
  return static_cast<int64_t>(
      std::min<ULONGLONG>(bytes.QuadPart, std::numeric_limits<int64_t>::max()));
}

// Only "E:" ever reaches an MCI command line.
bool IsDriveName(const std::wstring& driveName) {
  return driveName.size() == 2 && driveName[1] == L':' &&
         ((driveName[0] >= L'A' && driveName[0] <= L'Z') ||
          (driveName[0] >= L'a' && driveName[0] <= L'z'));
}

// The multimedia library is loaded the first time a drive may hold an audio CD, not with the
// program: it answers nothing else, and loaded at start it would be held all day.
using MciSendString = decltype(&::mciSendStringW);
MciSendString MciSend() {
  static const MciSendString send = []() -> MciSendString {
    const HMODULE library = LoadSystemLibrary(L"winmm.dll");
    return library ? ProcAddress<MciSendString>(library, "mciSendStringW") : nullptr;
  }();
  return send;
}

bool SendMci(const std::wstring& command) {
  const MciSendString send = MciSend();
  return send && send(command.c_str(), nullptr, 0, nullptr) == 0;
}

std::optional<int> MciNumber(const std::wstring& alias, const wchar_t* item) {
  wchar_t answer[kMciAnswerLength] = {};
  const std::wstring command = L"status " + alias + L" " + item + L" wait";
  const MciSendString send = MciSend();
  if (!send || send(command.c_str(), answer, kMciAnswerLength, nullptr) != 0)
    return std::nullopt;
  answer[kMciAnswerLength - 1] = L'\0';
  wchar_t* end = nullptr;
  const long value = std::wcstol(answer, &end, 10);
  if (end == answer || value < 0 || value > std::numeric_limits<int>::max())
    return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

Win32Drives::Win32Drives(const Win32Libraries& libraries) : libraries_(libraries) {}

std::optional<std::wstring> Win32Drives::PresentLetters() {
  TARVIK_COUNT_OS_CALL("GetLogicalDriveStringsW");
  const DWORD needed = ::GetLogicalDriveStringsW(0, nullptr);
  if (needed == 0)
    return std::nullopt;
  std::wstring roots(needed + 1, L'\0');
  const DWORD written = ::GetLogicalDriveStringsW(static_cast<DWORD>(roots.size()), roots.data());
  if (written == 0 || written >= roots.size())
    return std::nullopt;
  std::wstring letters;
  for (size_t at = 0; at < written && roots[at] != L'\0'; at += std::wcslen(&roots[at]) + 1)
    letters += roots[at];
  return letters;
}

int Win32Drives::DriveType(const std::wstring& driveName) {
  TARVIK_COUNT_OS_CALL("GetDriveTypeW");
  return static_cast<int>(::GetDriveTypeW(RootOf(driveName).c_str()));
}

std::optional<platform::VolumeInformation> Win32Drives::Volume(const std::wstring& root) {
  TARVIK_COUNT_OS_CALL("GetVolumeInformationW");
  wchar_t label[kLabelLength] = {};
  wchar_t fileSystem[kFileSystemLength] = {};
  DWORD serial = 0;
  DWORD maxNameLength = 0;
  DWORD flags = 0;
  const QuietDriveErrors quiet;
  if (!::GetVolumeInformationW(root.c_str(), label, kLabelLength, &serial, &maxNameLength, &flags,
                               fileSystem, kFileSystemLength))
    return std::nullopt;
  label[kLabelLength - 1] = L'\0';
  fileSystem[kFileSystemLength - 1] = L'\0';
  return platform::VolumeInformation{label, serial, fileSystem, maxNameLength,
                                     (flags & FILE_READ_ONLY_VOLUME) != 0};
}

std::optional<platform::DriveSpace> Win32Drives::Space(const std::wstring& driveName) {
  TARVIK_COUNT_OS_CALL("GetDiskFreeSpaceExW");
  ULARGE_INTEGER available{};
  ULARGE_INTEGER total{};
  const QuietDriveErrors quiet;
  if (!::GetDiskFreeSpaceExW(RootOf(driveName).c_str(), &available, &total, nullptr))
    return std::nullopt;
  return platform::DriveSpace{ByteCount(available), ByteCount(total)};
}

platform::NetworkConnection Win32Drives::Connection(const std::wstring& driveName,
                                                    uint32_t length) {
  TARVIK_COUNT_OS_CALL("WNetGetConnectionW");
  const NetworkProviderFunctions mpr =
      NetworkProviderFunctions::Bind(libraries_.Module(platform::OptionalLibrary::NetworkProvider));
  if (!mpr.GetConnection)
    return {ERROR_NOT_SUPPORTED, L""};
  // The buffer is as long as the length handed over, so no answer can pass its end.
  std::wstring remoteName(std::max<uint32_t>(length, 1), L'\0');
  DWORD size = static_cast<DWORD>(remoteName.size());
  const DWORD result = mpr.GetConnection(driveName.c_str(), remoteName.data(), &size);
  if (result != NO_ERROR)
    return {result, L""};
  remoteName.resize(std::wcslen(remoteName.c_str()));
  return {NO_ERROR, remoteName};
}

std::optional<platform::AudioDisc> Win32Drives::Audio(const std::wstring& driveName) {
  TARVIK_COUNT_OS_CALL("mciSendStringW cdaudio");
  if (!IsDriveName(driveName))
    return std::nullopt;
  const std::wstring alias = L"tarvik_cd_" + driveName.substr(0, 1);
  const QuietDriveErrors quiet;
  if (!SendMci(L"open " + driveName + L" type cdaudio alias " + alias + L" shareable wait"))
    return std::nullopt;
  std::optional<int> tracks;
  std::optional<int> milliseconds;
  if (SendMci(L"set " + alias + L" time format milliseconds wait")) {
    tracks = MciNumber(alias, L"number of tracks");
    milliseconds = MciNumber(alias, L"length");
  }
  (void)SendMci(L"close " + alias + L" wait");
  if (!tracks || *tracks < 1)
    return std::nullopt;
  return platform::AudioDisc{*tracks, milliseconds.value_or(0) / kMillisecondsPerSecond};
}

bool Win32Drives::OpenFirstDisk() {
  TARVIK_COUNT_OS_CALL("CreateFileW PhysicalDrive0");
  // No access rights are asked for: the performance counters need none, nor administrator rights.
  auto disk = std::make_shared<UniqueHandle>(::CreateFileW(
      kFirstDiskPath, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!*disk)
    return false;
  const std::lock_guard<std::mutex> lock(diskMutex_);
  firstDisk_ = std::move(disk);
  return true;
}

void Win32Drives::CloseFirstDisk() {
  TARVIK_COUNT_OS_CALL("CloseHandle PhysicalDrive0");
  std::shared_ptr<UniqueHandle> closing;
  {
    const std::lock_guard<std::mutex> lock(diskMutex_);
    closing.swap(firstDisk_);
  }
}

std::shared_ptr<UniqueHandle> Win32Drives::FirstDisk() const {
  const std::lock_guard<std::mutex> lock(diskMutex_);
  return firstDisk_;
}

std::optional<platform::DiskActivity> Win32Drives::FirstDiskActivity() {
  TARVIK_COUNT_OS_CALL("DeviceIoControl disk performance");
  const std::shared_ptr<UniqueHandle> disk = FirstDisk();
  if (!disk)
    return std::nullopt;
  DISK_PERFORMANCE performance{};
  DWORD returned = 0;
  if (!::DeviceIoControl(disk->Get(), IOCTL_DISK_PERFORMANCE, nullptr, 0, &performance,
                         sizeof(performance), &returned, nullptr))
    return std::nullopt;
  return platform::DiskActivity{performance.ReadTime.QuadPart, performance.WriteTime.QuadPart};
}

}  // namespace tarvik::win32
