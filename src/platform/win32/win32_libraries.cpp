#include "platform/win32/win32_libraries.h"

#include "platform/os_call_count.h"
#include "platform/win32/library_loading.h"

#include <string>

namespace tarvik::win32 {
namespace {

const wchar_t* FileName(platform::OptionalLibrary library) {
  switch (library) {
    case platform::OptionalLibrary::Power:
      return L"powrprof.dll";
    case platform::OptionalLibrary::NetworkProvider:
      return L"mpr.dll";
    case platform::OptionalLibrary::IpHelper:
      return L"iphlpapi.dll";
    case platform::OptionalLibrary::PerformanceData:
      return L"pdh.dll";
    case platform::OptionalLibrary::Dns:
      return L"Dnsapi.dll";
  }
  return L"";
}

// A library counts as present only with the entry the program needs first from it.
bool HasRequiredEntry(platform::OptionalLibrary library, HMODULE module) {
  if (library != platform::OptionalLibrary::PerformanceData)
    return true;
  return ::GetProcAddress(module, "PdhLookupPerfNameByIndexW") != nullptr;
}

}  // namespace

bool Win32Libraries::Load(platform::OptionalLibrary library) {
  TARVIK_COUNT_OS_CALL("LoadLibraryExW");
  UniqueModule module(LoadSystemLibrary(FileName(library)));
  if (!module || !HasRequiredEntry(library, module.Get()))
    return false;
  modules_[library] = std::move(module);
  return true;
}

void Win32Libraries::UnloadAll() {
  TARVIK_COUNT_OS_CALL("FreeLibrary");
  modules_.clear();
}

HMODULE Win32Libraries::Module(platform::OptionalLibrary library) const {
  const auto found = modules_.find(library);
  return found == modules_.end() ? nullptr : found->second.Get();
}

}  // namespace tarvik::win32
