#include "platform/win32/win32_wmi.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>

#include <utility>

#include "platform/os_call_count.h"
#include "platform/win32/handles.h"
#include "platform/win32/library_loading.h"
#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

template <typename T>
void ReleaseInterface(T* object) {
  object->Release();
}
template <typename T>
using ComRef = Owned<T*, ReleaseInterface<T>>;

inline void FreeBstr(BSTR text) {
  ::SysFreeString(text);
}
using UniqueBstr = Owned<BSTR, FreeBstr>;

// A processor object that does not come within this time ends the list: start-up waits on it.
constexpr long kNextTimeoutMs = 10'000;

// COM for the calling thread for one query. A thread that already runs COM in the other
// apartment model can still use it, but must not uninitialise it.
class ComScope {
 public:
  ComScope() {
    const HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    owned_ = SUCCEEDED(result);
    usable_ = owned_ || result == RPC_E_CHANGED_MODE;
  }
  ~ComScope() {
    if (owned_)
      ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  [[nodiscard]] bool Usable() const { return usable_; }

 private:
  bool owned_ = false;
  bool usable_ = false;
};

// The process's COM security is set once; a later call (a second query, or a library that set
// it first) is refused with RPC_E_TOO_LATE, and the settings in force serve.
bool SecurityReady() {
  const HRESULT result =
      ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                             RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  return SUCCEEDED(result) || result == RPC_E_TOO_LATE;
}

using DllGetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);

constexpr DWORD kMostPathCharacters = 1024;

// The file of the locator's in-process server as COM finds it (system32\wbem\wbemprox.dll on
// Windows); empty when the registration cannot be read. A path with variables comes expanded
// (and so asked for as a plain text: asking for the expandable type as such keeps it as stored).
std::wstring LocatorServerPath() {
  wchar_t path[kMostPathCharacters] = {};
  DWORD bytes = sizeof(path);
  if (::RegGetValueW(HKEY_CLASSES_ROOT,
                     L"CLSID\\{4590F811-1D3A-11D0-891F-00AA004B2E24}\\InprocServer32", nullptr,
                     RRF_RT_REG_SZ, nullptr, path, &bytes) != ERROR_SUCCESS) {
    return L"";
  }
  path[kMostPathCharacters - 1] = L'\0';
  return path;
}

// The WMI provider's library, loaded by the query itself rather than through COM: COM keeps
// what it loads until the process ends (under Wine the provider never agrees to be unloaded),
// and with it the graphics and print libraries the provider brings in. It is let go once the
// query has handed back every object and read its answer to the end; a query cut short may
// still be answered into the provider, which then stays loaded.
class ProviderLibrary {
 public:
  ProviderLibrary() : module_(LoadLibraryAt(LocatorServerPath())) {}
  ~ProviderLibrary() {
    if (module_ != nullptr && !keep_)
      ::FreeLibrary(module_);
  }
  ProviderLibrary(const ProviderLibrary&) = delete;
  ProviderLibrary& operator=(const ProviderLibrary&) = delete;

  [[nodiscard]] HMODULE Module() const { return module_; }
  void KeepLoaded() { keep_ = true; }

 private:
  HMODULE module_;
  bool keep_ = false;
};

// The locator from the provider's own class factory; through COM when the provider's library
// could not be loaded here.
ComRef<IWbemLocator> CreateLocator(HMODULE provider) {
  IWbemLocator* rawLocator = nullptr;
  if (provider == nullptr) {
    if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWbemLocator, reinterpret_cast<void**>(&rawLocator)))) {
      return {};
    }
    return ComRef<IWbemLocator>(rawLocator);
  }
  const auto getClassObject = ProcAddress<DllGetClassObjectFn>(provider, "DllGetClassObject");
  IClassFactory* rawFactory = nullptr;
  if (getClassObject == nullptr || FAILED(getClassObject(CLSID_WbemLocator, IID_IClassFactory,
                                                         reinterpret_cast<void**>(&rawFactory)))) {
    return {};
  }
  const ComRef<IClassFactory> factory(rawFactory);
  if (FAILED(factory.Get()->CreateInstance(nullptr, IID_IWbemLocator,
                                           reinterpret_cast<void**>(&rawLocator)))) {
    return {};
  }
  return ComRef<IWbemLocator>(rawLocator);
}

ComRef<IWbemServices> ConnectCimv2(HMODULE provider) {
  const ComRef<IWbemLocator> locator = CreateLocator(provider);
  if (!locator)
    return {};
  const UniqueBstr space(::SysAllocString(L"ROOT\\CIMV2"));
  IWbemServices* rawServices = nullptr;
  if (!space || FAILED(locator.Get()->ConnectServer(space.Get(), nullptr, nullptr, nullptr, 0,
                                                    nullptr, nullptr, &rawServices))) {
    return {};
  }
  ComRef<IWbemServices> services(rawServices);
  if (FAILED(::CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                 RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                 EOAC_NONE))) {
    return {};
  }
  return services;
}

// Unsigned 32-bit properties arrive in a signed VARIANT; their CIM type gives the value back.
platform::WmiValue ValueOf(const VARIANT& value, CIMTYPE type) {
  if (value.vt == VT_I4) {
    if (type == CIM_UINT32)
      return static_cast<int64_t>(static_cast<uint32_t>(value.lVal));
    return static_cast<int64_t>(value.lVal);
  }
  if (value.vt == VT_BSTR && value.bstrVal)
    return std::wstring(value.bstrVal, ::wcsnlen(value.bstrVal, ::SysStringLen(value.bstrVal)));
  return {};
}

std::vector<platform::WmiValue> PropertiesOf(IWbemClassObject* object,
                                             const std::vector<std::wstring>& names) {
  std::vector<platform::WmiValue> row;
  row.reserve(names.size());
  for (const std::wstring& name : names) {
    VARIANT value;
    ::VariantInit(&value);
    CIMTYPE type = CIM_EMPTY;
    if (!name.empty() && SUCCEEDED(object->Get(name.c_str(), 0, &value, &type, nullptr))) {
      row.push_back(ValueOf(value, type));
    } else {
      row.emplace_back();
    }
    ::VariantClear(&value);
  }
  return row;
}

}  // namespace

std::optional<std::vector<std::vector<platform::WmiValue>>> Win32Wmi::ProcessorProperties(
    const std::vector<std::wstring>& names) {
  TARVIK_COUNT_OS_CALL("WMI Win32_Processor");
  // Made before COM starts and so let go after COM has ended on this thread.
  ProviderLibrary provider;
  const ComScope com;
  if (!com.Usable() || !SecurityReady())
    return std::nullopt;
  const ComRef<IWbemServices> services = ConnectCimv2(provider.Module());
  if (!services)
    return std::nullopt;
  const UniqueBstr language(::SysAllocString(L"WQL"));
  const UniqueBstr query(::SysAllocString(L"SELECT * FROM Win32_Processor"));
  IEnumWbemClassObject* rawObjects = nullptr;
  if (!language || !query ||
      FAILED(services.Get()->ExecQuery(language.Get(), query.Get(),
                                       WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                       nullptr, &rawObjects))) {
    return std::nullopt;
  }
  const ComRef<IEnumWbemClassObject> objects(rawObjects);
  std::vector<std::vector<platform::WmiValue>> rows;
  for (;;) {
    IWbemClassObject* rawObject = nullptr;
    ULONG returned = 0;
    const HRESULT result = objects.Get()->Next(kNextTimeoutMs, 1, &rawObject, &returned);
    const ComRef<IWbemClassObject> object(rawObject);
    if (FAILED(result) || returned == 0 || !object) {
      // Only the list's own end (WBEM_S_FALSE) says that nothing more will arrive.
      if (result != WBEM_S_FALSE)
        provider.KeepLoaded();
      break;
    }
    rows.push_back(PropertiesOf(object.Get(), names));
  }
  return rows;
}

}  // namespace tarvik::win32
