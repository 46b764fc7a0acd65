#pragma once

#include "platform/system_identity.h"

namespace tarvik::win32 {

class Win32SystemIdentity final : public platform::SystemIdentity {
 public:
  [[nodiscard]] std::optional<platform::OsVersionRecord> KernelVersion() override;
  [[nodiscard]] std::optional<platform::OsVersionRecord> ReportedVersion() override;
  [[nodiscard]] std::wstring SystemFolder() override;
  [[nodiscard]] std::wstring ComputerName() override;
  [[nodiscard]] std::wstring UserName() override;
  [[nodiscard]] platform::StartMode Started() override;
};

}  // namespace tarvik::win32
