#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarvik::platform {

// The platform id of the NT family of systems.
inline constexpr uint32_t kPlatformNt = 2;

// The version record of the running system as the kernel fills it (OSVERSIONINFOEXW).
struct OsVersionRecord {
  uint32_t Major = 0;
  uint32_t Minor = 0;
  uint32_t Build = 0;
  uint32_t PlatformId = 0;
  std::wstring ServicePack;  // "Service Pack 1", or empty
  uint16_t SuiteMask = 0;
  uint8_t ProductType = 0;  // 1 workstation, 2 domain controller, 3 server
};

// How the system was started.
enum class StartMode { Normal, SafeMode, SafeModeWithNetwork };

// Facts about the running system that the program reads once at start.
class SystemIdentity {
 public:
  virtual ~SystemIdentity() = default;

  // What RtlGetVersion reports; empty when ntdll lacks it or the call fails.
  [[nodiscard]] virtual std::optional<OsVersionRecord> KernelVersion() = 0;
  // What GetVersionExW reports, for systems where RtlGetVersion cannot be used.
  [[nodiscard]] virtual std::optional<OsVersionRecord> ReportedVersion() = 0;
  // The system folder with a trailing backslash, or empty.
  [[nodiscard]] virtual std::wstring SystemFolder() = 0;
  [[nodiscard]] virtual std::wstring ComputerName() = 0;
  [[nodiscard]] virtual std::wstring UserName() = 0;
  [[nodiscard]] virtual StartMode Started() = 0;
};

}  // namespace tarvik::platform
