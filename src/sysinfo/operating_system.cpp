#include "sysinfo/operating_system.h"

#include <algorithm>

#include "sysinfo/file_version.h"
#include "sysinfo/windows_name.h"

namespace tarvik {

OsDescription DescribeOperatingSystem(platform::SystemIdentity& system,
                                      platform::VersionResources& resources) {
  OsDescription result;
  const std::wstring systemFolder = system.SystemFolder();
  if (!systemFolder.empty()) {
    result.Build = BuildFromVersionText(
        FileVersionField(resources, systemFolder + L"kernel32.dll", VersionField::ProductVersion));
  }
  const std::optional<platform::OsVersionRecord> kernel = system.KernelVersion();
  if (!kernel || kernel->PlatformId != platform::kPlatformNt) {
    const std::optional<platform::OsVersionRecord> reported = system.ReportedVersion();
    result.Name = WindowsNameForCode(reported ? WindowsVersionCode(*reported) : 0);
    return result;
  }
  if (kernel->Build > static_cast<uint32_t>(result.Build))
    result.Build = static_cast<int32_t>(std::min<uint32_t>(kernel->Build, INT32_MAX));
  result.Name = WindowsName(*kernel, result.Build);
  return result;
}

OsDescription ReadOperatingSystem(platform::SystemIdentity& system,
                                  platform::VersionResources& resources, Settings& settings,
                                  TextSlots& texts) {
  OsDescription description = DescribeOperatingSystem(system, resources);
  settings.Set(opt::OsBuildNumber, description.Build);
  texts.Set(slot::OsDescription, description.Name);
  return description;
}

}  // namespace tarvik
