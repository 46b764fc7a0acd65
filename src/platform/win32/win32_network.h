#pragma once

// The interface-row functions are declared only after the socket address types.
#include <winsock2.h>
#include <ws2ipdef.h>
#include <windows.h>
#include <iphlpapi.h>

#include "platform/network.h"
#include "platform/win32/internet_change_notices.h"
#include "platform/win32/win32_libraries.h"

namespace tarvik::win32 {

// The IP Helper tables through iphlpapi.dll as loaded at start (each function looked up by name,
// so a system without one still runs), the Internet state through wininet, and the notices of
// what may change it.
class Win32Network final : public platform::Network {
 public:
  explicit Win32Network(const Win32Libraries& libraries) : libraries_(libraries) {}

  [[nodiscard]] bool Available() const override;
  [[nodiscard]] std::optional<std::vector<platform::AdapterInfo>> Adapters() override;
  [[nodiscard]] std::vector<uint32_t> InterfaceIndexes() override;
  [[nodiscard]] std::optional<platform::InterfaceRow> Interface(uint32_t index) override;
  [[nodiscard]] std::optional<uint32_t> InternetFlags() override;
  [[nodiscard]] bool TakeChangeNotice() override;

 private:
  [[nodiscard]] HMODULE IpHelper() const;

  const Win32Libraries& libraries_;
  InternetChangeNotices notices_;
};

}  // namespace tarvik::win32
