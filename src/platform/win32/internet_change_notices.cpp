#include "platform/win32/internet_change_notices.h"

// The IP Helper notice functions are declared only after the socket address types.
// clang-format off
#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>
// clang-format on

#include <type_traits>

#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

using NotifyIpInterfaceChangeFn = decltype(&::NotifyIpInterfaceChange);
using NotifyUnicastIpAddressChangeFn = decltype(&::NotifyUnicastIpAddressChange);
using NotifyRouteChange2Fn = decltype(&::NotifyRouteChange2);

constexpr const wchar_t* kInternetSettingsKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr DWORD kRegistryChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;

// The three callbacks differ only in the row they are given.
template <typename Row>
VOID NETIOAPI_API_ Noticed(PVOID flag, Row*, MIB_NOTIFICATION_TYPE) {
  static_cast<std::atomic<bool>*>(flag)->store(true, std::memory_order_release);
}

}  // namespace

InternetChangeNotices::~InternetChangeNotices() {
  // Waits for a callback under way, so the flag outlives every call.
  for (const HANDLE registration : registrations_)
    cancel_(registration);
}

void InternetChangeNotices::Start(HMODULE ipHelper) {
  if (started_)
    return;
  started_ = true;
  if (ipHelper != nullptr)
    ListenToIpHelper(ipHelper);
  ListenToRegistry();
}

bool InternetChangeNotices::Take() {
  const bool registry = RegistryChanged();
  return noticed_.exchange(false, std::memory_order_acq_rel) || registry;
}

void InternetChangeNotices::ListenToIpHelper(HMODULE ipHelper) {
  static_assert(std::is_same_v<CancelFn, decltype(&::CancelMibChangeNotify2)>);
  cancel_ = ProcAddress<CancelFn>(ipHelper, "CancelMibChangeNotify2");
  const auto interfaces =
      ProcAddress<NotifyIpInterfaceChangeFn>(ipHelper, "NotifyIpInterfaceChange");
  const auto addresses =
      ProcAddress<NotifyUnicastIpAddressChangeFn>(ipHelper, "NotifyUnicastIpAddressChange");
  const auto routes = ProcAddress<NotifyRouteChange2Fn>(ipHelper, "NotifyRouteChange2");
  if (cancel_ == nullptr)
    return;
  const auto keep = [this](NETIO_STATUS status, HANDLE registration) {
    if (status == NO_ERROR && registration != nullptr)
      registrations_.push_back(registration);
  };
  HANDLE registration = nullptr;
  if (interfaces != nullptr)
    keep(interfaces(AF_UNSPEC, &Noticed<MIB_IPINTERFACE_ROW>, &noticed_, FALSE, &registration),
         registration);
  registration = nullptr;
  if (addresses != nullptr)
    keep(addresses(AF_UNSPEC, &Noticed<MIB_UNICASTIPADDRESS_ROW>, &noticed_, FALSE, &registration),
         registration);
  registration = nullptr;
  if (routes != nullptr)
    keep(routes(AF_UNSPEC, &Noticed<MIB_IPFORWARD_ROW2>, &noticed_, FALSE, &registration),
         registration);
}

void InternetChangeNotices::ListenToRegistry() {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kInternetSettingsKey, 0, KEY_NOTIFY, &key) !=
      ERROR_SUCCESS)
    return;
  settingsKey_.Reset(key);
  settingsChanged_.Reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
  if (!settingsChanged_ || !AskForNextChange())
    settingsChanged_.Reset();
}

bool InternetChangeNotices::AskForNextChange() {
  return ::RegNotifyChangeKeyValue(settingsKey_.Get(), TRUE, kRegistryChanges,
                                   settingsChanged_.Get(), TRUE) == ERROR_SUCCESS;
}

// The registry tells one change per request: a notice asks for the next one.
bool InternetChangeNotices::RegistryChanged() {
  if (!settingsChanged_ || ::WaitForSingleObject(settingsChanged_.Get(), 0) != WAIT_OBJECT_0)
    return false;
  if (!AskForNextChange())
    settingsChanged_.Reset();
  return true;
}

}  // namespace tarvik::win32
