#include "platform/win32/win32_performance_counters.h"

#include <objbase.h>
#include <pdhmsg.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/os_call_count.h"
#include "platform/win32/library_loading.h"
#include "platform/win32/proc_address.h"

namespace tarvik::win32 {
namespace {

constexpr DWORD kNameCharacters = 256;

// One open query and its counters; closing the query frees the counters with it.
class Win32CounterQuery final : public platform::CounterQuery {
 public:
  Win32CounterQuery(const PdhFunctions& functions, PDH_HQUERY query)
      : functions_(functions), query_(query) {}
  ~Win32CounterQuery() override { functions_.CloseQuery(query_); }
  Win32CounterQuery(const Win32CounterQuery&) = delete;
  Win32CounterQuery& operator=(const Win32CounterQuery&) = delete;

  std::optional<int> Add(const std::wstring& path) override {
    TARVIK_COUNT_OS_CALL("PdhAddCounterW");
    PDH_HCOUNTER counter = nullptr;
    if (functions_.AddCounter(query_, path.c_str(), 0, &counter) != ERROR_SUCCESS)
      return std::nullopt;
    counters_.push_back(counter);
    return static_cast<int>(counters_.size() - 1);
  }

  bool Collect() override {
    TARVIK_COUNT_OS_CALL("PdhCollectQueryData");
    return functions_.CollectQueryData(query_) == ERROR_SUCCESS;
  }

  std::optional<double> Value(int counter) override {
    TARVIK_COUNT_OS_CALL("PdhGetFormattedCounterValue");
    if (counter < 0 || static_cast<size_t>(counter) >= counters_.size())
      return std::nullopt;
    PDH_FMT_COUNTERVALUE value{};
    if (functions_.GetFormattedCounterValue(counters_[static_cast<size_t>(counter)],
                                            PDH_FMT_DOUBLE | PDH_FMT_NOCAP100, nullptr,
                                            &value) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    if (value.CStatus != PDH_CSTATUS_VALID_DATA && value.CStatus != PDH_CSTATUS_NEW_DATA)
      return std::nullopt;
    return value.doubleValue;
  }

 private:
  const PdhFunctions functions_;
  PDH_HQUERY query_;
  std::vector<PDH_HCOUNTER> counters_;
};

}  // namespace

bool PdhFunctions::Complete() const {
  return OpenQuery && AddCounter && CollectQueryData && GetFormattedCounterValue &&
         LookupPerfNameByIndex && CloseQuery;
}

Win32PerformanceCounters::Win32PerformanceCounters() {
  pdh_.Reset(LoadSystemLibrary(L"pdh.dll"));
  if (!pdh_)
    return;
  const HMODULE module = pdh_.Get();
  functions_.OpenQuery = ProcAddress<decltype(functions_.OpenQuery)>(module, "PdhOpenQueryW");
  functions_.AddCounter = ProcAddress<decltype(functions_.AddCounter)>(module, "PdhAddCounterW");
  functions_.CollectQueryData =
      ProcAddress<decltype(functions_.CollectQueryData)>(module, "PdhCollectQueryData");
  functions_.GetFormattedCounterValue = ProcAddress<decltype(functions_.GetFormattedCounterValue)>(
      module, "PdhGetFormattedCounterValue");
  functions_.LookupPerfNameByIndex =
      ProcAddress<decltype(functions_.LookupPerfNameByIndex)>(module, "PdhLookupPerfNameByIndexW");
  functions_.CloseQuery = ProcAddress<decltype(functions_.CloseQuery)>(module, "PdhCloseQuery");
}

std::wstring Win32PerformanceCounters::NameOf(uint32_t index) {
  TARVIK_COUNT_OS_CALL("PdhLookupPerfNameByIndexW");
  if (!functions_.Complete())
    return L"";
  std::wstring name(kNameCharacters, L'\0');
  DWORD characters = kNameCharacters;
  if (functions_.LookupPerfNameByIndex(nullptr, index, name.data(), &characters) != ERROR_SUCCESS)
    return L"";
  name.resize(std::char_traits<wchar_t>::length(name.c_str()));
  return name;
}

std::unique_ptr<platform::CounterQuery> Win32PerformanceCounters::OpenQuery() {
  TARVIK_COUNT_OS_CALL("PdhOpenQueryW");
  if (!functions_.Complete())
    return nullptr;
  PDH_HQUERY query = nullptr;
  if (functions_.OpenQuery(nullptr, 0, &query) != ERROR_SUCCESS || !query)
    return nullptr;
  return std::make_unique<Win32CounterQuery>(functions_, query);
}

// The working folder goes to the launch, so that threads that run meanwhile never see the
// process's current folder change.
bool Win32PerformanceCounters::StartNameRebuild(const std::wstring& folder) {
  TARVIK_COUNT_OS_CALL("ShellExecuteW lodctr");
  // The shell may hand the start to extensions that need COM on this thread.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const HINSTANCE result =
      ::ShellExecuteW(nullptr, L"RunAS", L"Lodctr", L"/R", folder.c_str(), SW_HIDE);
  if (SUCCEEDED(com))
    ::CoUninitialize();
  // ShellExecuteW reports success as a value above 32.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace tarvik::win32
