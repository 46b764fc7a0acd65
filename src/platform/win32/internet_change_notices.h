#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

#include "platform/win32/handles.h"

namespace tarvik::win32 {

// Listens for what may change the Internet state: the IP Helper's notices of a changed interface,
// address or route (functions looked up by name, as older systems lack them) and a change under
// the Internet settings key of the registry (the proxy, "work offline", dial-up connections).
// The system calls the IP Helper's callbacks on threads of its own: they only set a flag. The
// registry's notice is an event, looked at without waiting.
class InternetChangeNotices {
 public:
  InternetChangeNotices() = default;
  ~InternetChangeNotices();
  InternetChangeNotices(const InternetChangeNotices&) = delete;
  InternetChangeNotices& operator=(const InternetChangeNotices&) = delete;

  // Starts listening, once; `ipHelper` may be null. Called from the thread that takes the
  // notices: on older systems the registry's notice lasts as long as the thread that asked.
  void Start(HMODULE ipHelper);
  // True once after a notice came.
  [[nodiscard]] bool Take();

 private:
  void ListenToIpHelper(HMODULE ipHelper);
  void ListenToRegistry();
  [[nodiscard]] bool RegistryChanged();
  [[nodiscard]] bool AskForNextChange();

  // CancelMibChangeNotify2, as iphlpapi.dll declares it.
  using CancelFn = DWORD(WINAPI*)(HANDLE);

  bool started_ = false;
  std::atomic<bool> noticed_{false};
  CancelFn cancel_ = nullptr;
  std::vector<HANDLE> registrations_;
  UniqueKey settingsKey_;
  UniqueHandle settingsChanged_;
};

}  // namespace tarvik::win32
