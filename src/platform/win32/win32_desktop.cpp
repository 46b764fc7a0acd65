#include "platform/win32/win32_desktop.h"

#include <windows.h>

#include "platform/os_call_count.h"

namespace tarvik::win32 {
namespace {

constexpr int kBaseDpi = 96;

}  // namespace

std::optional<platform::DisplayFacts> Win32Display::Current() {
  TARVIK_COUNT_OS_CALL("EnumDisplaySettingsW and EnumDisplayDevicesW");
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  if (!::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode))
    return std::nullopt;
  platform::DisplayFacts facts;
  facts.Width = static_cast<int>(mode.dmPelsWidth);
  facts.Height = static_cast<int>(mode.dmPelsHeight);
  facts.ColourDepth = static_cast<int>(mode.dmBitsPerPel);
  // 0 and 1 both mean the hardware's default rate, which the system does not name.
  facts.RefreshRate = mode.dmDisplayFrequency > 1 ? static_cast<int>(mode.dmDisplayFrequency) : 0;
  DISPLAY_DEVICEW device{};
  device.cb = sizeof(device);
  if (::EnumDisplayDevicesW(nullptr, 0, &device, 0))
    facts.Adapter = device.DeviceString;
  const HDC screen = ::GetDC(nullptr);
  if (screen) {
    facts.ScalePercent = ::GetDeviceCaps(screen, LOGPIXELSX) * 100 / kBaseDpi;
    ::ReleaseDC(nullptr, screen);
  }
  return facts;
}

std::optional<platform::MemoryStatus> Win32Memory::Status() {
  TARVIK_COUNT_OS_CALL("GlobalMemoryStatusEx");
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (!::GlobalMemoryStatusEx(&status))
    return std::nullopt;
  return platform::MemoryStatus{status.ullTotalPhys, status.ullAvailPhys, status.ullTotalPageFile,
                                status.ullAvailPageFile};
}

std::optional<platform::PowerStatus> Win32PowerSource::Status() {
  TARVIK_COUNT_OS_CALL("GetSystemPowerStatus");
  SYSTEM_POWER_STATUS status{};
  if (!::GetSystemPowerStatus(&status))
    return std::nullopt;
  return platform::PowerStatus{status.ACLineStatus, status.BatteryFlag, status.BatteryLifePercent};
}

uint32_t Win32UserActivity::LastInputTick() {
  TARVIK_COUNT_OS_CALL("GetLastInputInfo");
  LASTINPUTINFO input{};
  input.cbSize = sizeof(input);
  return ::GetLastInputInfo(&input) ? input.dwTime : 0;
}

}  // namespace tarvik::win32
