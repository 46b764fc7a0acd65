#pragma once

#include <windows.h>

#include <pdh.h>

#include "platform/performance_counters.h"
#include "platform/win32/handles.h"

namespace tarvik::win32 {

// pdh.dll's functions, bound at run time from the system folder; usable only when every one
// was found.
struct PdhFunctions {
  decltype(&::PdhOpenQueryW) OpenQuery = nullptr;
  decltype(&::PdhAddCounterW) AddCounter = nullptr;
  decltype(&::PdhCollectQueryData) CollectQueryData = nullptr;
  decltype(&::PdhGetFormattedCounterValue) GetFormattedCounterValue = nullptr;
  decltype(&::PdhLookupPerfNameByIndexW) LookupPerfNameByIndex = nullptr;
  decltype(&::PdhCloseQuery) CloseQuery = nullptr;

  [[nodiscard]] bool Complete() const;
};

// The performance counters through pdh.dll; without it every query is refused and every name is
// empty.
class Win32PerformanceCounters final : public platform::PerformanceCounters {
 public:
  Win32PerformanceCounters();

  [[nodiscard]] std::wstring NameOf(uint32_t index) override;
  [[nodiscard]] std::unique_ptr<platform::CounterQuery> OpenQuery() override;
  [[nodiscard]] bool StartNameRebuild(const std::wstring& folder) override;

 private:
  UniqueModule pdh_;
  PdhFunctions functions_;
};

}  // namespace tarvik::win32
